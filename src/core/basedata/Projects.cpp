#include "core/basedata/Projects.h"

#include "core/basedata/Centres.h"
#include "core/basedata/Plans.h"

namespace orvak::basedata {

Projects::Projects(startup::Session& session)
    : session_(session)
{
}

const CodedTable& Projects::table()
{
    static const CodedTable t{db::Store::Common, QStringLiteral("PROJEH"), QStringLiteral("PROJNO"), true};
    return t;
}

const io::CodeTexts& Projects::kinds()
{
    static const io::CodeTexts k = io::CodeTexts::numbered(
        {QStringLiteral("پيماني"), QStringLiteral("اماني"), QStringLiteral("پيماني اماني"), QStringLiteral("اماني پيماني")});
    return k;
}

QList<Reference> Projects::references()
{
    return {{db::Store::Common, QStringLiteral("PAYMENTS"), QStringLiteral("PROJNO"), true},
            {db::Store::Common, QStringLiteral("PAYMAN_TP"), QStringLiteral("Projeh"), true},
            {db::Store::Common, QStringLiteral("PROJEH"), QStringLiteral("MAINPROJ"), true},
            {db::Store::Deposits, QStringLiteral("SEP_DAR"), QStringLiteral("PROJNO")},
            {db::Store::Deposits, QStringLiteral("SEP_RADR2"), QStringLiteral("PROJNO")},
            {db::Store::Deposits, QStringLiteral("ZEMANAT"), QStringLiteral("PROJNO")},
            {db::Store::Accounting, QStringLiteral("SNDROW"), QStringLiteral("PROJEH")}};
}

std::optional<qint64> Projects::proposedCode() const { return basedata::proposedCode(session_, table()); }

namespace {

Project projectOf(const QSqlRecord& r)
{
    Project p;
    p.number = r.value(QStringLiteral("PROJNO")).toLongLong();
    p.plan = r.value(QStringLiteral("TARHNO")).toLongLong();
    p.agreementCode = r.value(QStringLiteral("CODP")).toString().trimmed();
    p.name = r.value(QStringLiteral("NAMEP")).toString().trimmed();
    p.kind = r.value(QStringLiteral("KIND")).toInt();
    p.hasSubProjects = r.value(QStringLiteral("HVSUB")).toInt() != 0;
    p.mainProject = r.value(QStringLiteral("MAINPROJ")).toLongLong();
    p.startYear = r.value(QStringLiteral("START_YEAR")).toInt();
    p.centre = r.value(QStringLiteral("CENTERCODE")).toLongLong();
    p.agreementYear = r.value(QStringLiteral("SAL_MOF")).toInt();
    p.goal = r.value(QStringLiteral("DESCROP")).toString();
    return p;
}

} // namespace

db::Fetched<Project> Projects::read(qint64 number) const { return readAs<Project>(session_, table(), number, projectOf); }

db::Fetched<Project> Projects::byAgreementCode(const QString& code) const
{
    const QString typed = code.trimmed();
    if (typed.isEmpty())
        return db::Fetched<Project>::none();
    const db::Fetched<QSqlRecord> r = db::firstRow(session_.common(), QStringLiteral("select * from Projeh Where CODP = :PCODP  and CI=:CI Order By PROJNO"),
                                                   {{QStringLiteral(":PCODP"), typed}, {QStringLiteral(":CI"), sectionOf(session_)}});
    if (!r)
        return r.failed() ? db::Fetched<Project>::failure(r.error()) : db::Fetched<Project>::none();
    return db::Fetched<Project>::found(projectOf(*r));
}

std::optional<qint64> Projects::save(const Project& p, bool insert, startup::Prompt& prompt)
{
    RegisterRules r;
    r.table = table();
    r.nameColumn = QStringLiteral("NAMEP");
    r.required = {QStringLiteral("NAMEP")};
    r.links = {{QStringLiteral("TARHNO"), Plans::table()}, {QStringLiteral("CENTERCODE"), Centres::table()},
               {QStringLiteral("MAINPROJ"), table()}};
    // -1 is "none" in every column that names a plan, project or place.
    auto code = [](qint64 v) { return v > 0 ? v : qint64(-1); };
    const QVariantMap values{{QStringLiteral("TARHNO"), code(p.plan)},
                             {QStringLiteral("CODP"), p.agreementCode.trimmed()},
                             {QStringLiteral("NAMEP"), p.name.trimmed()},
                             {QStringLiteral("KIND"), p.kind},
                             {QStringLiteral("HVSUB"), p.hasSubProjects ? 1 : 0},
                             {QStringLiteral("MAINPROJ"), code(p.mainProject)},
                             {QStringLiteral("START_YEAR"), p.startYear},
                             {QStringLiteral("CENTERCODE"), code(p.centre)},
                             {QStringLiteral("SAL_MOF"), p.agreementYear},
                             {QStringLiteral("DESCROP"), p.goal}};
    return saveRecord(session_, r, p.number, values, insert, prompt);
}

bool Projects::remove(qint64 number, startup::Prompt& prompt)
{
    RegisterRules r;
    r.table = table();
    r.blocking = references();
    r.blockedText = QStringLiteral("امکان حذف پروژه در گردش وجود ندارد؟");
    r.deleteQuestion = QStringLiteral("اطلاعات حذف مي شود. مطمئن هستيد؟");
    return removeRecord(session_, r, number, prompt);
}

} // namespace orvak::basedata
