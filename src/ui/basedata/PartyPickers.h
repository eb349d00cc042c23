#pragma once
// The pickers other screens open (F7/F3): the detail accounts with what the caller
// needs of the chosen party, the groups, the trades, the parameters of a kind and
// the standard descriptions of a scope.
#include "core/basedata/StandardDescriptions.h"
#include "core/startup/Session.h"

#include <QWidget>
#include <optional>

namespace orvak::ui::framework {
class CodeEdit;
}

namespace orvak::ui::basedata {

struct PartyPick {
    qint64 code = 0;
    QString name;
    QString hesabJari;      // HESABJARI
    QVariant groups;        // GROUPS
    int tafsilKind = 0;     // TAFSILKIND
    int rowCount = 0;       // rows of the grid
    QString selectedCodes = QStringLiteral("0");   // "12,15"; "0" without a selection of several rows
    QString selectedPairs = QStringLiteral("0");   // "12,name,15,name"
    bool hasDebts = false;  // "اين پيمانکار داراي بدهي مي باشد." was said
    bool listChanged = false;
};

struct PartyPickOptions {
    QString word;   // opens narrowed to the names holding it; empty: every party
};

// The detail-account list as a picker; nullopt when the user leaves without choosing.
std::optional<PartyPick> pickParty(QWidget* parent, startup::Session& session, const PartyPickOptions& options = {});

// A party's number with its name beside it; F7 opens the picker.
framework::CodeEdit* partyCodeEdit(startup::Session& session, QWidget* parent);

// One code, or the marked codes.
std::optional<QList<qint64>> pickGroups(QWidget* parent, startup::Session& session);
std::optional<qint64> pickTrade(QWidget* parent, startup::Session& session);
// code and name of a parameter of the kind.
std::optional<std::pair<qint64, QString>> pickParameter(QWidget* parent, startup::Session& session, int kind);
// The chosen description's text.
std::optional<QString> pickStandardDescription(QWidget* parent, startup::Session& session,
                                               orvak::basedata::DescriptionScope scope = orvak::basedata::DescriptionScope::GeneralAndMine);

} // namespace orvak::ui::basedata
