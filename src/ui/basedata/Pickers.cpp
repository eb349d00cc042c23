#include "ui/basedata/Pickers.h"

#include "ui/basedata/TORVAK_ViewProjects.h"
#include "ui/basedata/TORVAK_ViewTarh.h"
#include "ui/basedata/TViewBankBranch.h"
#include "ui/basedata/TViewBankName.h"
#include "ui/basedata/TViewCenters.h"
#include "ui/basedata/TViewHesab.h"
#include "ui/basedata/TViewOstan.h"
#include "ui/basedata/TViewSarparasti.h"
#include "ui/basedata/TViewSepACC.h"
#include "ui/basedata/TViewShobeh.h"
#include "core/basedata/BankNames.h"
#include "core/basedata/CodedTable.h"
#include "core/basedata/Lookups.h"
#include "core/basedata/Provinces.h"
#include "core/basedata/SupervisingOffices.h"

namespace orvak::ui::basedata {

namespace {

Pick pick(RegisterList* list, QStringList fields, const QString& code, const QString& name, QWidget* parent)
{
    return framework::pickFrom(list, {std::move(fields), code, name, {}}, parent);
}

// A name from a row read by code: the column's text, nullopt when there is no row.
framework::CodeEdit::Lookup nameFrom(std::function<db::Fetched<QSqlRecord>(qint64)> read, QString column)
{
    return [read = std::move(read), column](qint64 code) -> std::optional<QString> {
        const db::Fetched<QSqlRecord> r = read(code);
        if (!r)
            return std::nullopt;
        return r->value(column).toString().trimmed();
    };
}

framework::CodeEdit* field(QWidget* parent, framework::CodeEdit::Lookup lookup, std::function<Pick(QWidget*)> choose, QString codeField)
{
    auto picker = [choose = std::move(choose), codeField](QWidget* p) -> std::optional<qint64> {
        const Pick r = choose(p);
        if (!r)
            return std::nullopt;
        return r->current.value(codeField).toLongLong();
    };
    return new framework::CodeEdit(std::move(lookup), std::move(picker), parent);
}

framework::CodeEdit::Lookup tableName(Session& session, const orvak::basedata::CodedTable& t, const QString& column)
{
    return nameFrom([&session, &t](qint64 c) { return orvak::basedata::readByCode(session, t, c); }, column);
}

framework::CodeEdit::Lookup lookupName(Session& session, orvak::basedata::Lookup kind, const QString& column)
{
    return nameFrom([&session, kind](qint64 c) { return orvak::basedata::lookup(session, kind, c); }, column);
}

} // namespace

Pick pickPlan(QWidget* parent, Session& session)
{
    return pick(new TORVAK_ViewTarh(session), {QStringLiteral("CODE"), QStringLiteral("CODT"), QStringLiteral("NAMET")}, QStringLiteral("CODE"),
                QStringLiteral("NAMET"), parent);
}

Pick pickProject(QWidget* parent, Session& session, qint64 plan)
{
    auto* list = new TORVAK_ViewProjects(session);
    list->setPlan(plan);
    return pick(list, {QStringLiteral("PROJNO"), QStringLiteral("CODP"), QStringLiteral("NAMEP"), QStringLiteral("TARHNO")}, QStringLiteral("PROJNO"),
                QStringLiteral("NAMEP"), parent);
}

Pick pickCentre(QWidget* parent, Session& session)
{
    return pick(new TViewCenters(session), {QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"), QStringLiteral("NAME"), parent);
}

Pick pickBank(QWidget* parent, Session& session)
{
    return pick(new TViewBankName(session), {QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"), QStringLiteral("NAME"), parent);
}

Pick pickBankBranch(QWidget* parent, Session& session, qint64 bank)
{
    auto* list = new TViewBankBranch(session);
    list->setParameter(QStringLiteral(":PBank"), bank);
    return pick(list, {QStringLiteral("CODE"), QStringLiteral("BANKID"), QStringLiteral("BRANCHCODE"), QStringLiteral("BRANCHNAME")}, QStringLiteral("CODE"),
                QStringLiteral("BRANCHNAME"), parent);
}

Pick pickAccount(QWidget* parent, Session& session)
{
    return pick(new TViewHesab(session),
                {QStringLiteral("CODE"), QStringLiteral("HESABNO"), QStringLiteral("BANK"), QStringLiteral("BRANCHNAME"), QStringLiteral("HESABSUBJECT")},
                QStringLiteral("CODE"), QStringLiteral("HESABNO"), parent);
}

Pick pickDepositAccount(QWidget* parent, Session& session, int kind)
{
    auto* list = new TViewSepACC(session);
    list->setParameter(QStringLiteral(":PKind"), kind);
    return pick(list, {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("KIND"), QStringLiteral("ACCKOL"), QStringLiteral("ACCMOIN")},
                QStringLiteral("CODE"), QStringLiteral("NAME"), parent);
}

Pick pickProvince(QWidget* parent, Session& session)
{
    return pick(new TViewOstan(session), {QStringLiteral("CODE"), QStringLiteral("NAME")}, QStringLiteral("CODE"), QStringLiteral("NAME"), parent);
}

Pick pickSupervisingOffice(QWidget* parent, Session& session, qint64 province)
{
    auto* list = new TViewSarparasti(session);
    list->setParameter(QStringLiteral(":POstan"), province);
    return pick(list, {QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("OSTAN")}, QStringLiteral("CODE"), QStringLiteral("NAME"), parent);
}

Pick pickBranch(QWidget* parent, Session& session)
{
    return pick(new TViewShobeh(session), {QStringLiteral("CODE"), QStringLiteral("CODESHOBEH"), QStringLiteral("NAME")}, QStringLiteral("CODE"),
                QStringLiteral("NAME"), parent);
}

framework::CodeEdit* planField(Session& session, QWidget* parent)
{
    return field(parent, lookupName(session, orvak::basedata::Lookup::Plan, QStringLiteral("NAMET")),
                 [&session](QWidget* p) { return pickPlan(p, session); }, QStringLiteral("CODE"));
}

framework::CodeEdit* projectField(Session& session, QWidget* parent)
{
    return field(parent, lookupName(session, orvak::basedata::Lookup::ProjectByNumber, QStringLiteral("NAMEP")),
                 [&session](QWidget* p) { return pickProject(p, session); }, QStringLiteral("PROJNO"));
}

framework::CodeEdit* centreField(Session& session, QWidget* parent)
{
    return field(parent, lookupName(session, orvak::basedata::Lookup::Centre, QStringLiteral("NAME")),
                 [&session](QWidget* p) { return pickCentre(p, session); }, QStringLiteral("CODE"));
}

framework::CodeEdit* bankField(Session& session, QWidget* parent)
{
    return field(parent, tableName(session, orvak::basedata::BankNames::table(), QStringLiteral("NAME")),
                 [&session](QWidget* p) { return pickBank(p, session); }, QStringLiteral("CODE"));
}

framework::CodeEdit* provinceField(Session& session, QWidget* parent)
{
    return field(parent, tableName(session, orvak::basedata::Provinces::table(), QStringLiteral("NAME")),
                 [&session](QWidget* p) { return pickProvince(p, session); }, QStringLiteral("CODE"));
}

framework::CodeEdit* officeField(Session& session, QWidget* parent)
{
    return field(parent, tableName(session, orvak::basedata::SupervisingOffices::table(), QStringLiteral("NAME")),
                 [&session](QWidget* p) { return pickSupervisingOffice(p, session); }, QStringLiteral("CODE"));
}

} // namespace orvak::ui::basedata
