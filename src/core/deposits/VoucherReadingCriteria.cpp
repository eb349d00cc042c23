#include "core/deposits/VoucherReadingCriteria.h"

#include "core/db/UnitOfWork.h"
#include "core/util/AtomicFile.h"
#include "core/util/CodePage1256.h"
#include "core/util/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <limits>

namespace orvak::deposits {

namespace {

constexpr int WordLength = 50;   // List4Get's word columns

// A whole number typed in a field, or empty; false for anything else.
bool wholeOrEmpty(const QString& text, int* out, int empty)
{
    const QString t = util::normalizeDigits(text).trimmed();
    if (t.isEmpty()) {
        *out = empty;
        return true;
    }
    const std::optional<qint64> n = util::parseWholeNumber(t);
    if (!n || *n < -1 || *n > std::numeric_limits<int>::max())
        return false;
    *out = int(*n);
    return true;
}

} // namespace

QString readingFilePath(const QString& folder) { return QDir(folder).filePath(QStringLiteral("ReadACC.INI")); }

bool writeLastReading(const QString& folder, const ReadingCriteria& c, QString* error)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString path = readingFilePath(folder);
    // Written in place of a link it would write wherever the link points.
    const QFileInfo existing(path);
    if (existing.isSymLink())
        return refuse(QStringLiteral("ReadACC.INI پيوند به فايل ديگري است و معيارهاي قرائت در آن نوشته نمي شود: %1").arg(QDir::toNativeSeparators(path)));
    if (existing.exists() && !existing.isFile())
        return refuse(QStringLiteral("ReadACC.INI فايل نيست و معيارهاي قرائت در آن نوشته نمي شود: %1").arg(QDir::toNativeSeparators(path)));
    QStringList lines{QString::number(c.year), QString::number(c.monthIndex), QString::number(c.kol),
                      c.moin < 0 ? QString() : QString::number(c.moin), c.from.trimmed(), c.to.trimmed()};
    for (const QString& w : c.words)
        lines << QString(w).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
    lines << QString::number(int(c.side));
    // The older programs of the office read the file in code page 1256.
    const util::Encoded1256 text = util::encode1256(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    if (!text.ok())
        return refuse(QStringLiteral("اين حروف در کد 1256 نوشته نمي شوند و ReadACC.INI نوشته نشد: %1").arg(text.unencodable));
    return util::writeFileAtomically(path, text.bytes, error);
}

std::optional<LastReading> readLastReading(const QString& folder)
{
    QFile f(readingFilePath(folder));
    if (!f.open(QIODevice::ReadOnly) || f.size() > 64 * 1024)
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (bytes.contains('\0'))
        return std::nullopt;
    // Written in code page 1256, as the office's older programs write it; earlier
    // editions of this program wrote UTF-8, whose Persian letters decode to the
    // Arabic block (code page 1256 bytes read as UTF-8 seldom decode, and never so).
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    const bool persianUtf8 = !utf8.hasError() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x80 || (c.unicode() >= 0x0600 && c.unicode() <= 0x06FF) || c.unicode() == 0x200C;
    });
    if (!persianUtf8)
        text = util::decode1256(bytes);
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (lines.size() < 10)
        return std::nullopt;
    LastReading r;
    if (!wholeOrEmpty(lines[2], &r.kol, 0) || r.kol <= 0 || !wholeOrEmpty(lines[3], &r.moin, -1))
        return std::nullopt;
    static const QRegularExpression range(QStringLiteral("^[0-9/ ]*$"));
    r.from = util::normalizeDigits(lines[4]).trimmed();
    r.to = util::normalizeDigits(lines[5]).trimmed();
    if (!range.match(r.from).hasMatch() || !range.match(r.to).hasMatch())
        return std::nullopt;
    for (int i = 0; i < 4; ++i)
        r.words[size_t(i)] = lines[6 + i].trimmed().left(WordLength);
    return r;
}

SavedReadingCriteria::SavedReadingCriteria(startup::Session& session)
    : session_(session)
{
}

db::Fetched<QList<SavedCriteria>> SavedReadingCriteria::all()
{
    QSqlQuery q(session_.deposits());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT C, KOL, MOIN, WORD1, WORD2, WORD3, WORD4, BEDBES FROM List4Get ORDER BY C, KOL, MOIN")))
        return db::Fetched<QList<SavedCriteria>>::failure(q.lastError().text());
    QList<SavedCriteria> out;
    while (q.next()) {
        SavedCriteria s;
        s.section = q.value(0).toInt();
        s.kol = q.value(1).toInt();
        s.moin = q.value(2).toInt();
        for (int i = 0; i < 4; ++i)
            s.words[size_t(i)] = q.value(3 + i).toString().trimmed();
        const int side = q.value(7).toInt();
        s.side = side >= 0 && side <= 2 ? ReadSide(side) : ReadSide::Credit;
        out << s;
    }
    return out.isEmpty() ? db::Fetched<QList<SavedCriteria>>::none() : db::Fetched<QList<SavedCriteria>>::found(std::move(out));
}

bool SavedReadingCriteria::add(const SavedCriteria& row, QString* error)
{
    auto refuse = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (row.kol <= 0)
        return refuse(QStringLiteral("حساب مشخص نشده است"));
    for (const QString& w : row.words) {
        if (w.trimmed().size() > WordLength)
            return refuse(QStringLiteral("كلمه طولاني تر از %1 حرف است").arg(WordLength));
    }
    return session_.inWork([&](db::UnitOfWork& w) {
        const QVariantMap key{{QStringLiteral(":C"), row.section}, {QStringLiteral(":K"), row.kol}, {QStringLiteral(":M"), row.moin}};
        const db::Fetched<QVariant> taken = w.scalar(QStringLiteral("SELECT COUNT(*) FROM {deposits}.List4Get WHERE C = :C AND KOL = :K AND MOIN = :M"), key);
        if (!taken)
            return false;
        if (taken->toInt() > 0)
            return w.fail(QStringLiteral("اين حساب قبلا در فهرست ثبت شده است"));
        return w.insert(db::Store::Deposits, QStringLiteral("List4Get"),
                        {{QStringLiteral("C"), row.section},
                         {QStringLiteral("KOL"), row.kol},
                         {QStringLiteral("MOIN"), row.moin},
                         {QStringLiteral("WORD1"), row.words[0].trimmed()},
                         {QStringLiteral("WORD2"), row.words[1].trimmed()},
                         {QStringLiteral("WORD3"), row.words[2].trimmed()},
                         {QStringLiteral("WORD4"), row.words[3].trimmed()},
                         {QStringLiteral("BEDBES"), int(row.side)}});
    }, error);
}

bool SavedReadingCriteria::remove(int section, int kol, int moin, startup::Prompt& prompt, QString* error)
{
    if (!prompt.ask(QStringLiteral("مطمئن هستيد؟")))
        return false;
    return session_.inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Deposits, QStringLiteral("List4Get"), QStringLiteral("C = :C AND KOL = :K AND MOIN = :M"),
                        {{QStringLiteral(":C"), section}, {QStringLiteral(":K"), kol}, {QStringLiteral(":M"), moin}});
    }, error);
}

} // namespace orvak::deposits
