#pragma once
// The base-data lists as pickers for other screens (F7, "ادامه (ENTER)"): each opens
// its list modally and hands back the current row's fields, the selection's codes
// and "code,name" pairs ("0" when nothing is selected) and whether the list was
// written meanwhile; nullopt when the user leaves without choosing.
#include "ui/framework/Editors.h"
#include "ui/framework/Picker.h"
#include "core/startup/Session.h"

namespace orvak::ui::basedata {

using orvak::startup::Session;
using Pick = std::optional<framework::PickResult>;

Pick pickPlan(QWidget* parent, Session& session);                          // CODE, CODT, NAMET
Pick pickProject(QWidget* parent, Session& session, qint64 plan = 0);      // PROJNO, CODP, NAMEP, TARHNO
Pick pickCentre(QWidget* parent, Session& session);                        // CODE, NAME
Pick pickBank(QWidget* parent, Session& session);                          // CODE, NAME
Pick pickBankBranch(QWidget* parent, Session& session, qint64 bank = -1);  // CODE, BANKID, BRANCHCODE, BRANCHNAME
Pick pickAccount(QWidget* parent, Session& session);                       // CODE, HESABNO, BANK, BRANCHNAME, HESABSUBJECT
Pick pickDepositAccount(QWidget* parent, Session& session, int kind = -1); // CODE, NAME, KIND, ACCKOL, ACCMOIN
Pick pickProvince(QWidget* parent, Session& session);                      // CODE, NAME
Pick pickSupervisingOffice(QWidget* parent, Session& session, qint64 province = -1);   // CODE, NAME, OSTAN
Pick pickBranch(QWidget* parent, Session& session);                        // CODE, CODESHOBEH, NAME

// Code fields of the entry forms: the code with its name beside it, F7 picks.
framework::CodeEdit* planField(Session& session, QWidget* parent);
framework::CodeEdit* projectField(Session& session, QWidget* parent);
framework::CodeEdit* centreField(Session& session, QWidget* parent);
framework::CodeEdit* bankField(Session& session, QWidget* parent);
framework::CodeEdit* provinceField(Session& session, QWidget* parent);
framework::CodeEdit* officeField(Session& session, QWidget* parent);
// A party's field: partyCodeEdit (PartyPickers.h).

} // namespace orvak::ui::basedata
