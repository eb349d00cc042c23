#include "core/guarantees/GuaranteeTexts.h"

namespace orvak::guarantees {

namespace {

basedata::RegisterRules subjectRules()
{
    basedata::RegisterRules r;
    r.table = GuaranteeSubjects::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.nameLength = 100;
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

basedata::RegisterRules folderRules()
{
    basedata::RegisterRules r;
    r.table = ArchiveFolders::table();
    r.nameColumn = QStringLiteral("NAME");
    r.required = {QStringLiteral("NAME")};
    r.incomplete = QStringLiteral("اطلاعات كامل نيست");
    r.nameLength = 50;
    r.deleteQuestion = QStringLiteral("حذف اطلاعات .مطمئن هستيد ؟");
    return r;
}

io::ListDefinition namedList(const char* name, const char* title, const char* table, const char* key, const char* caption)
{
    io::ListDefinition d;
    d.name = QString::fromLatin1(name);
    d.title = QString::fromUtf8(title);
    d.database = io::ListDatabase::Deposits;
    d.sql = QStringLiteral("SELECT * FROM %1\nORDER BY %2").arg(QString::fromLatin1(table), QString::fromLatin1(key));
    d.columns = {io::dataField(QString::fromLatin1(key), QStringLiteral("کد"), 60, io::CellFormat::Integer),
                 io::dataField(QStringLiteral("NAME"), QString::fromUtf8(caption), 280)};
    d.keyField = QString::fromLatin1(key);
    d.historyTable = QString::fromLatin1(table);
    d.historyKey = {QString::fromLatin1(key)};
    return d;
}

} // namespace

GuaranteeSubjects::GuaranteeSubjects(startup::Session& session)
    : NamedRegister(session, subjectRules())
{
}

const basedata::CodedTable& GuaranteeSubjects::table()
{
    static const basedata::CodedTable t{db::Store::Deposits, QStringLiteral("ZEMDESCR"), QStringLiteral("CODE"), false};
    return t;
}

const QStringList& GuaranteeSubjects::standardTexts()
{
    static const QStringList texts = {QStringLiteral("صورت وضعيت شماره"), QStringLiteral("پنجاه درصد اول"), QStringLiteral("پنجاه درصد دوم"),
                                      QStringLiteral("تعديل"), QStringLiteral("مابه التفاوت")};
    return texts;
}

bool GuaranteeSubjects::seedWhenEmpty(startup::Prompt& prompt)
{
    QString error;
    const bool ok = session_.inWork(
        [&](db::UnitOfWork& w) {
            const auto n = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.ZEMDESCR"));
            if (!n)
                return w.fail(n.failed() ? n.error() : QStringLiteral("شرح موضوع تضمينات خوانده نشد"));
            if (n->toInt() > 0)
                return true;
            for (int i = 0; i < standardTexts().size(); ++i) {
                if (!w.insert(db::Store::Deposits, QStringLiteral("ZEMDESCR"), {{QStringLiteral("CODE"), i + 1}, {QStringLiteral("NAME"), standardTexts()[i]}}))
                    return false;
            }
            return true;
        },
        &error);
    if (!ok)
        prompt.info(error);
    return ok;
}

db::Fetched<QStringList> GuaranteeSubjects::texts() const
{
    const auto rows = basedata::namesByCode(session_, table(), QStringLiteral("NAME"));
    if (rows.failed())
        return db::Fetched<QStringList>::failure(rows.error());
    QStringList texts;
    for (const auto& [code, name] : rows.value_or({}))
        texts << name;
    return db::Fetched<QStringList>::found(texts);
}

ArchiveFolders::ArchiveFolders(startup::Session& session)
    : NamedRegister(session, folderRules())
{
}

const basedata::CodedTable& ArchiveFolders::table()
{
    static const basedata::CodedTable t{db::Store::Deposits, QStringLiteral("BAYGANI"), QStringLiteral("ID"), false};
    return t;
}

io::ListDefinition guaranteeSubjectsList() { return namedList("guarantee-subjects", "شرح موضوع تضمينات", "ZEMDESCR", "CODE", "شرح"); }
io::ListDefinition archiveFoldersList() { return namedList("archive-folders", "اسامي پوشه ها", "BAYGANI", "ID", "نام پوشه"); }

} // namespace orvak::guarantees
