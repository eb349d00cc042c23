#include "core/db/DatabaseErrors.h"

#include "core/db/sqlite/SqliteFiles.h"
#include "core/db/sqlite/SqliteHandle.h"

#include <QRegularExpression>
#include <sqlite3.h>
#include <QStringList>

namespace orvak::db {

namespace {

struct Meaning {
    QRegularExpression english;   // the engine's or the driver's phrase, to the end of its line
    QString persian;              // %1: the first capture, when the phrase has one
};

QRegularExpression phrase(const char* pattern)
{
    return QRegularExpression(QString::fromLatin1(pattern) + QStringLiteral("[^\\n]*"), QRegularExpression::CaseInsensitiveOption);
}

const QString kDamaged = QStringLiteral("يکي از فايلهاي بانک اطلاعاتي خراب است؛ با orvakctl check فايل خراب را بيابيد و آن را از نسخه پشتيبان بازگردانيد");
const QString kLocked = QStringLiteral("بانک اطلاعاتي در اختيار برنامه ديگري است و قفل شده است؛ پس از پايان کار آن دوباره سعي کنيد");
const QString kGeneral = QStringLiteral("بانک اطلاعاتي عمليات را نپذيرفت");

const QList<Meaning>& meanings()
{
    static const QList<Meaning> table = {
        {phrase("database disk image is malformed"), kDamaged},
        {phrase("file is not a database"), kDamaged},
        {phrase("database (?:table )?is locked"), kLocked},
        {phrase("UNIQUE constraint failed: ([A-Za-z0-9_.]+)"), QStringLiteral("اين اطلاعات قبلا ثبت شده است (مقدار تکراري در %1)")},
        {phrase("Violation of (?:PRIMARY|UNIQUE) KEY constraint '([^']+)'"), QStringLiteral("اين اطلاعات قبلا ثبت شده است (مقدار تکراري در %1)")},
        {phrase("Cannot insert duplicate key[^']*'([^']+)'"), QStringLiteral("اين اطلاعات قبلا ثبت شده است (مقدار تکراري در %1)")},
        {phrase("NOT NULL constraint failed: ([A-Za-z0-9_.]+)"), QStringLiteral("مقدار %1 بايد داده شود")},
        {phrase("Cannot insert the value NULL into column '([^']+)'"), QStringLiteral("مقدار %1 بايد داده شود")},
        {phrase("CHECK constraint failed: ?([A-Za-z0-9_.]*)"), QStringLiteral("مقدار داده شده پذيرفته نيست %1")},
        {phrase("FOREIGN KEY constraint failed"), QStringLiteral("اطلاعات مرتبط با اين رديف وجود ندارد يا هنوز به آن وابسته است")},
        {phrase("no such table: ([A-Za-z0-9_.]+)"), QStringLiteral("جدول %1 در بانک اطلاعاتي نيست؛ بروزآوري ساختار (orvakctl update) را اجرا کنيد")},
        {phrase("Invalid object name '([^']+)'"), QStringLiteral("جدول %1 در بانک اطلاعاتي نيست؛ بروزآوري ساختار (orvakctl update) را اجرا کنيد")},
        {phrase("no such column: ([A-Za-z0-9_.]+)"), QStringLiteral("ستون %1 در بانک اطلاعاتي نيست؛ بروزآوري ساختار (orvakctl update) را اجرا کنيد")},
        {phrase("Invalid column name '([^']+)'"), QStringLiteral("ستون %1 در بانک اطلاعاتي نيست؛ بروزآوري ساختار (orvakctl update) را اجرا کنيد")},
        {phrase("LIKE or GLOB pattern too complex"), QStringLiteral("عبارت جستجو بيش از حد طولاني است")},
        {phrase("string or blob too big"), QStringLiteral("مقدار داده شده بيش از حد طولاني است")},
        {phrase("too many SQL variables"), QStringLiteral("تعداد موارد انتخاب شده بيش از حد است")},
        {phrase("database or disk is full"), QStringLiteral("فضاي ديسک پر است؛ جاي خالي فراهم کنيد و دوباره سعي کنيد")},
        {phrase("disk I/O error"), QStringLiteral("خطا در خواندن يا نوشتن فايل بانک اطلاعاتي روي ديسک")},
        {phrase("attempt to write a readonly database"), QStringLiteral("بانک اطلاعاتي فقط خواندني است و قابل تغيير نيست")},
        {phrase("unable to open database"), QStringLiteral("فايل بانک اطلاعاتي باز نمي شود")},
        {phrase("Driver not loaded"), QStringLiteral("درايور بانک اطلاعاتي بار نشده است؛ برنامه را دوباره نصب کنيد")},
        {phrase("Login failed for user '([^']+)'"), QStringLiteral("ورود به سرور با نام کاربري %1 ممکن نيست")},
        {phrase("out of memory"), QStringLiteral("حافظه کافي نيست")},
        {phrase("interrupted"), QStringLiteral("عمليات متوقف شد")},
    };
    return table;
}

// The texts Qt's drivers add after the engine's own.
const QRegularExpression& driverTail()
{
    static const QRegularExpression tail(QStringLiteral("\\s*(?:Unable to (?:fetch row|execute statement|execute multiple statements|begin transaction|commit transaction|rollback transaction|open database)|Parameter count mismatch|Error opening database|QODBC[^\\n]*|QSQLITE[^\\n]*)\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return tail;
}

bool hasPersian(QStringView line)
{
    for (QChar c : line) {
        if (c.unicode() >= 0x0600 && c.unicode() <= 0x06FF)
            return true;
    }
    return false;
}

QString meaningOf(const Meaning& m, const QRegularExpressionMatch& match)
{
    return m.persian.contains(QLatin1String("%1")) ? m.persian.arg(match.captured(1)).trimmed() : m.persian;
}

QString mappedLine(const QString& line)
{
    for (const Meaning& m : meanings()) {
        const QRegularExpressionMatch match = m.english.match(line);
        if (match.hasMatch())
            return (line.left(match.capturedStart()) + meaningOf(m, match)).trimmed();
    }
    QString rest = line;
    rest.remove(driverTail());
    if (rest.trimmed().isEmpty())
        return kGeneral;
    // Only this program's Persian texts pass; an English line of unknown meaning
    // says only that the database refused.
    return hasPersian(rest) ? rest : kGeneral;
}

} // namespace

QString userText(const QString& text)
{
    if (text.isEmpty())
        return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = mappedLine(line);
    lines.removeDuplicates();
    return lines.join(QLatin1Char('\n'));
}

QString errorText(int code, const QString& engineText, const QSqlDriver* driver)
{
    if (sqlite::isDamageCode(code)) {
        if (sqlite3* handle = sqliteHandleOf(driver))
            return sqlite::damagedFilesText(handle);
        return kDamaged;
    }
    if (sqlite::isLockCode(code))
        return kLocked;
    // A rule of the database itself (a trigger's refusal) speaks the words its
    // author gave it.
    if (code == SQLITE_CONSTRAINT_TRIGGER) {
        QString reason = engineText;
        reason.remove(driverTail());
        return kGeneral + QStringLiteral(": ") + reason.trimmed();
    }
    return userText(engineText);
}

QString errorText(const QSqlError& error, const QSqlDriver* driver)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    // Only the embedded engine's codes are read as its codes.
    if (numeric && sqliteHandleOf(driver))
        return errorText(code, error.text(), driver);
    return userText(error.text());
}

QString errorText(const QSqlError& error, QSqlDatabase db) { return errorText(error, db.driver()); }

} // namespace orvak::db
