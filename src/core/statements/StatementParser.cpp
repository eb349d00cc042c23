#include "core/statements/StatementParser.h"

#include "core/io/Workbook.h"
#include "core/statements/StatementDates.h"
#include "core/util/CodePage1256.h"
#include "core/util/Jalali.h"
#include "core/util/Numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace orvak::statements {

namespace {

// Direction marks and the byte-order mark that copies from web pages leave in cells.
bool invisible(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0xFEFF;
}

QString clean(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!invisible(c))
            out += c;
    }
    return out.trimmed();
}

// Persian Yeh and Arabic Kaf as the program writes its own texts, for comparing words.
QString folded(const QString& text)
{
    QString t = text;
    for (QChar& c : t) {
        if (c.unicode() == 0x06CC)
            c = QChar(0x064A);
        else if (c.unicode() == 0x0643)
            c = QChar(0x06A9);
    }
    return t;
}

QString shown(const QString& text)
{
    const QString t = text.simplified();
    return t.size() > 40 ? t.left(40) + QStringLiteral("…") : t;
}

bool allDigits(const QString& t)
{
    return !t.isEmpty() && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

QStringList splitCells(const QString& line, QChar separator)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
            continue;
        }
        if (c == separator) {
            cells << cell;
            cell.clear();
            wasQuoted = false;
            continue;
        }
        // A quote opens a quoted cell only at the cell's start (spaces or ="... before it).
        if (c == QLatin1Char('"') && !wasQuoted) {
            const QString before = cell.trimmed();
            if (before.isEmpty() || before == QLatin1String("=")) {
                cell.clear();
                quoted = true;
                wasQuoted = true;
                continue;
            }
        }
        cell += c;
    }
    cells << cell;
    return cells;
}

std::optional<DateAndTime> readDate(const QString& text, DateForm form, QString* why)
{
    const QString t = util::normalizeDigits(clean(text));
    if (t.isEmpty())
        return DateAndTime{QStringLiteral("0000/00/00"), {}};
    const QStringList words = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString d = words.value(0);
    // A time beside the date in the same cell (either order).
    QString time, date = d;
    if (words.size() == 2) {
        if (words[0].contains(QLatin1Char(':'))) {
            time = words[0];
            date = words[1];
        } else {
            time = words[1];
        }
    } else if (words.size() > 2) {
        *why = QStringLiteral("تاريخ درست نيست: ") + shown(text);
        return std::nullopt;
    }
    int y = 0, m = 0, day = 0;
    bool ok = true;
    QStringList parts;
    for (const QString& sep : {QStringLiteral("/"), QStringLiteral("-"), QStringLiteral(".")}) {
        if (date.contains(sep)) {
            parts = date.split(sep);
            break;
        }
    }
    auto number = [&](const QString& s) {
        if (!allDigits(s)) {
            ok = false;
            return 0;
        }
        return s.toInt();
    };
    if (!parts.isEmpty()) {
        if (parts.size() != 3) {
            ok = false;
        } else if (form == DateForm::DayFirst) {
            day = number(parts[0]);
            m = number(parts[1]);
            y = number(parts[2]);
            if (parts[2].size() == 2)
                y = fullYear(y);
        } else {
            y = number(parts[0]);
            m = number(parts[1]);
            day = number(parts[2]);
            if (parts[0].size() == 2)
                y = fullYear(y);
            else if (parts[0].size() != 4)
                ok = false;
        }
    } else if (allDigits(date) && date.size() == 8) {
        y = date.left(4).toInt();
        m = date.mid(4, 2).toInt();
        day = date.mid(6, 2).toInt();
    } else if (allDigits(date) && date.size() == 6) {
        y = fullYear(date.left(2).toInt());
        m = date.mid(2, 2).toInt();
        day = date.mid(4, 2).toInt();
    } else {
        ok = false;
    }
    const util::JalaliDate j{y, m, day};
    if (!ok || y < 1300 || y > 1600 || !j.isValid()) {
        *why = QStringLiteral("تاريخ درست نيست: ") + shown(text);
        return std::nullopt;
    }
    return DateAndTime{j.toText(), time};
}

std::optional<QString> readTime(const QString& text, QString* why)
{
    const QString t = util::normalizeDigits(clean(text));
    if (t.isEmpty())
        return QStringLiteral("00:00");
    int h = -1, m = -1;
    const QStringList parts = t.split(QLatin1Char(':'));
    if (parts.size() >= 2 && parts.size() <= 3 && std::all_of(parts.cbegin(), parts.cend(), [](const QString& p) { return allDigits(p) && p.size() <= 2; })) {
        h = parts[0].toInt();
        m = parts[1].toInt();
        if (parts.size() == 3 && parts[2].toInt() > 59)
            h = -1;
    } else if (allDigits(t) && (t.size() == 4 || t.size() == 6)) {
        h = t.left(2).toInt();
        m = t.mid(2, 2).toInt();
        if (t.size() == 6 && t.mid(4, 2).toInt() > 59)
            h = -1;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59) {
        *why = QStringLiteral("ساعت درست نيست: ") + shown(text);
        return std::nullopt;
    }
    return QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> readAmount(const QString& text, QString* why)
{
    QString t = util::normalizeDigits(clean(text));
    if (t.isEmpty())
        return qint64(0);
    bool negative = false;
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    } else if (t.size() > 1 && t.endsWith(QLatin1Char('-'))) {
        negative = true;
        t.chop(1);
    }
    QString bare;
    bare.reserve(t.size());
    for (QChar c : t) {
        // Thousands separators of every keyboard, and spaces.
        if (c == QLatin1Char(',') || c.unicode() == 0x066C || c.unicode() == 0x060C || c.isSpace())
            continue;
        bare += c;
    }
    if (bare.startsWith(QLatin1Char('+')))
        bare = bare.mid(1);
    const std::optional<qint64> n = bare.isEmpty() ? std::nullopt : util::parseAmount(bare);
    if (!n || *n > LargestStatementAmount || *n < -LargestStatementAmount || (negative && *n < 0)) {
        *why = QStringLiteral("مبلغ درست نيست: ") + shown(text);
        return std::nullopt;
    }
    return negative ? -*n : *n;
}

std::optional<qint64> readDocumentNumber(const QString& text, QString* why)
{
    const QString t = util::normalizeDigits(clean(text));
    QString digits;
    for (QChar c : t) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() > 18) {
        *why = QStringLiteral("شماره مدرک بيش از 18 رقم است: ") + shown(text);
        return std::nullopt;
    }
    return digits.isEmpty() ? 0 : digits.toLongLong();
}

std::optional<bool> readSide(const QString& text, QString* why)
{
    const QString t = folded(clean(text)).toUpper();
    static const QStringList debit{QStringLiteral("D"), QStringLiteral("DR"), QStringLiteral("DEBIT"), QStringLiteral("-"),
                                   folded(QStringLiteral("ب")), folded(QStringLiteral("بد")), folded(QStringLiteral("بدهکار")),
                                   folded(QStringLiteral("برداشت"))};
    static const QStringList credit{QStringLiteral("C"), QStringLiteral("CR"), QStringLiteral("CREDIT"), QStringLiteral("+"),
                                    folded(QStringLiteral("بس")), folded(QStringLiteral("بستانکار")), folded(QStringLiteral("واريز"))};
    if (debit.contains(t))
        return true;
    if (credit.contains(t))
        return false;
    *why = QStringLiteral("ستون بدهکار/بستانکار شناخته نشد: ") + shown(text);
    return std::nullopt;
}

bool namesCardPayment(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QString t = folded(text);
    static const QStringList words{folded(QStringLiteral("شاپرک")), folded(QStringLiteral("پوز")), folded(QStringLiteral("کارتخوان")),
                                   folded(QStringLiteral("پايانه فروش"))};
    for (const QString& w : words) {
        if (t.contains(w))
            return true;
    }
    return t.contains(QLatin1String("POS"), Qt::CaseInsensitive);
}

StatementParser::StatementParser(const StatementLayout& layout, QChar chosenSeparator)
    : layout_(layout)
    , separator_(layout.separatorChar(chosenSeparator))
{
    // A line must reach the date and the amounts; the other fields may be left off its end.
    for (Field f : {Field::Date, Field::Debit, Field::Credit, Field::Amount, Field::Side}) {
        const Position& p = layout_.at(f);
        if (!p.present())
            continue;
        neededCells_ = std::max(neededCells_, p.index + 1);
        neededChars_ = std::max(neededChars_, p.index + 1);
    }
}

QString StatementParser::fieldText(const Record& r, Field f) const
{
    const Position& p = layout_.at(f);
    if (!p.present())
        return {};
    if (layout_.source == Source::Fixed)
        return r.text.mid(p.index, p.width);
    return r.cells.value(p.index);
}

StatementParser::Result StatementParser::parse(const Record& r, StatementLine& line, QString* why) const
{
    line = StatementLine{};
    line.sourceLine = r.line;
    if (layout_.source == Source::Fixed) {
        if (clean(r.text).isEmpty())
            return Result::Blank;
        if (r.text.size() < neededChars_) {
            *why = QStringLiteral("سطر ناقص است: %1 نويسه دارد و قالب دست کم %2 نويسه مي خواهد").arg(r.text.size()).arg(neededChars_);
            return Result::Failed;
        }
    } else {
        if (std::all_of(r.cells.cbegin(), r.cells.cend(), [](const QString& c) { return clean(c).isEmpty(); }))
            return Result::Blank;
        if (r.cells.size() < neededCells_) {
            *why = QStringLiteral("سطر ناقص است: %1 ستون دارد و قالب دست کم %2 ستون مي خواهد").arg(r.cells.size()).arg(neededCells_);
            return Result::Failed;
        }
    }
    auto text = [&](Field f) { return fieldText(r, f); };

    const QString dateText = text(Field::Date);
    const std::optional<DateAndTime> date = readDate(dateText, layout_.dateForm, why);
    if (!date)
        return Result::Failed;
    line.date = date->date;
    line.bankDate = clean(dateText).left(10);
    const QString timeText = layout_.has(Field::Time) ? text(Field::Time) : date->time;
    const std::optional<QString> time = readTime(timeText, why);
    if (!time)
        return Result::Failed;
    line.time = *time;

    switch (layout_.amountForm) {
    case AmountForm::DebitCredit: {
        const auto debit = readAmount(text(Field::Debit), why);
        if (!debit)
            return Result::Failed;
        const auto credit = readAmount(text(Field::Credit), why);
        if (!credit)
            return Result::Failed;
        // A bank that writes its debits negative in the debit column means the same.
        line.debit = *debit < 0 ? -*debit : *debit;
        line.credit = *credit < 0 ? -*credit : *credit;
        break;
    }
    case AmountForm::Signed: {
        const auto amount = readAmount(text(Field::Amount), why);
        if (!amount)
            return Result::Failed;
        (*amount < 0 ? line.debit : line.credit) = *amount < 0 ? -*amount : *amount;
        break;
    }
    case AmountForm::WithSide: {
        const auto amount = readAmount(text(Field::Amount), why);
        if (!amount)
            return Result::Failed;
        const auto debit = readSide(text(Field::Side), why);
        if (!debit)
            return Result::Failed;
        const qint64 a = *amount < 0 ? -*amount : *amount;
        (*debit ? line.debit : line.credit) = a;
        break;
    }
    }
    if (line.debit != 0 && line.credit != 0) {
        *why = QStringLiteral("سطر هم برداشت و هم واريز دارد");
        return Result::Failed;
    }
    if (layout_.has(Field::Balance) && !clean(text(Field::Balance)).isEmpty()) {
        const auto balance = readAmount(text(Field::Balance), why);
        if (!balance)
            return Result::Failed;
        line.balance = *balance;
        line.hasBalance = true;
    }

    const auto document = readDocumentNumber(text(Field::Document), why);
    if (!document)
        return Result::Failed;
    const auto cheque = readDocumentNumber(text(Field::Cheque), why);
    if (!cheque)
        return Result::Failed;
    line.document = *cheque != 0 ? *cheque : *document;

    // The branch is the first run of digits (a name may follow it, "1234 - مرکزي").
    const QString branch = util::normalizeDigits(clean(text(Field::Branch)));
    QString digits;
    for (QChar c : branch) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
        else if (!digits.isEmpty())
            break;
    }
    line.branch = digits.isEmpty() ? 0 : digits.left(9).toLongLong();

    line.identifier = util::normalizeDigits(clean(text(Field::Identifier)));
    line.transaction = util::normalizeDigits(clean(text(Field::Transaction)));
    const QString kind = util::normalizeDigits(clean(text(Field::Kind)));
    line.kind = allDigits(kind) && kind.size() <= 9 ? kind.toInt() : 0;
    line.description = clean(text(Field::Description)).simplified();
    const QString extra = clean(text(Field::Extra)).simplified();
    if (!extra.isEmpty())
        line.description = line.description.isEmpty() ? extra : line.description + QStringLiteral(" - ") + extra;
    line.card = namesCardPayment(line.description) || namesCardPayment(kind);
    return Result::Line;
}

namespace {

QString notText(int line) { return QStringLiteral("فايل متني نيست (نويسه نامعتبر در سطر %1)").arg(line); }

// A line's text: UTF-8 when its bytes are, the banks' Windows-1256 otherwise.
std::optional<QString> decodeLine(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = util::decode1256(bytes);
    return text;
}

// Tabs are separators, form feeds page breaks of printed statements; other control
// characters mean the file is not text.
bool controlFree(QString& text)
{
    for (QChar& c : text) {
        if (c.unicode() >= 0x20)
            continue;
        if (c == QLatin1Char('\t'))
            continue;
        if (c == QLatin1Char('\f') || c == QLatin1Char('\r')) {
            c = QLatin1Char(' ');
            continue;
        }
        return false;
    }
    return true;
}

enum class TextKind { EightBit, Utf16Le, Utf16Be };

std::optional<ReadFailure> forEachTextLine(const QString& path, const std::function<bool(int, QString&)>& line,
                                           const std::function<bool(qint64, qint64)>& progress)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return ReadFailure{0, QStringLiteral("فايل باز نشد: ") + f.errorString()};
    const qint64 total = f.size();
    QByteArray head = f.peek(4);
    TextKind kind = TextKind::EightBit;
    if (head.startsWith("\xFF\xFE"))
        kind = TextKind::Utf16Le;
    else if (head.startsWith("\xFE\xFF"))
        kind = TextKind::Utf16Be;
    if (head.isEmpty())
        return ReadFailure{0, QStringLiteral("فايل خالي است")};

    int number = 0;
    qint64 done = 0;
    bool stopped = false;
    std::optional<ReadFailure> failure;
    auto hand = [&](QString text) {
        ++number;
        if (number == 1 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        if (!controlFree(text)) {
            failure = ReadFailure{number, notText(number)};
            return false;
        }
        if (!line(number, text)) {
            stopped = true;
            return false;
        }
        return true;
    };

    constexpr qint64 Chunk = 1 << 20;
    if (kind == TextKind::EightBit) {
        QByteArray pending;
        while (!f.atEnd()) {
            const QByteArray chunk = f.read(Chunk);
            if (chunk.isEmpty())
                break;
            done += chunk.size();
            pending += chunk;
            qsizetype start = 0;
            for (;;) {
                const qsizetype nl = pending.indexOf('\n', start);
                if (nl < 0)
                    break;
                if (nl - start > LongestLine)
                    return ReadFailure{number + 1, QStringLiteral("سطر %1 بيش از %2 نويسه است").arg(number + 1).arg(LongestLine)};
                const std::optional<QString> text = decodeLine(pending.mid(start, nl - start));
                if (!text)
                    return ReadFailure{number + 1, notText(number + 1)};
                if (!hand(*text))
                    return failure;
                start = nl + 1;
            }
            pending.remove(0, start);
            if (pending.size() > LongestLine)
                return ReadFailure{number + 1, QStringLiteral("سطر %1 بيش از %2 نويسه است").arg(number + 1).arg(LongestLine)};
            if (progress && !progress(done, total))
                return std::nullopt;
        }
        if (!pending.isEmpty()) {
            const std::optional<QString> text = decodeLine(pending);
            if (!text)
                return ReadFailure{number + 1, notText(number + 1)};
            if (!hand(*text))
                return failure;
        }
    } else {
        QStringDecoder decoder(kind == TextKind::Utf16Le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        QString pending;
        while (!f.atEnd()) {
            const QByteArray chunk = f.read(Chunk);
            if (chunk.isEmpty())
                break;
            done += chunk.size();
            pending += decoder.decode(chunk);
            qsizetype start = 0;
            for (;;) {
                const qsizetype nl = pending.indexOf(QLatin1Char('\n'), start);
                if (nl < 0)
                    break;
                if (nl - start > LongestLine)
                    return ReadFailure{number + 1, QStringLiteral("سطر %1 بيش از %2 نويسه است").arg(number + 1).arg(LongestLine)};
                if (!hand(pending.mid(start, nl - start)))
                    return failure;
                start = nl + 1;
            }
            pending.remove(0, start);
            if (pending.size() > LongestLine)
                return ReadFailure{number + 1, QStringLiteral("سطر %1 بيش از %2 نويسه است").arg(number + 1).arg(LongestLine)};
            if (progress && !progress(done, total))
                return std::nullopt;
        }
        if (decoder.hasError())
            return ReadFailure{number + 1, notText(number + 1)};
        if (!pending.isEmpty() && !hand(pending))
            return failure;
    }
    (void)stopped;
    if (f.error() != QFileDevice::NoError)
        return ReadFailure{number + 1, QStringLiteral("خواندن فايل ممکن نشد: ") + f.errorString()};
    return std::nullopt;
}

bool spreadsheetName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("xls") || suffix == QLatin1String("xlsx");
}

} // namespace

std::optional<ReadFailure> forEachRecord(const QString& path, const SourceOptions& o, const std::function<bool(const Record&)>& record,
                                         const std::function<bool(qint64, qint64)>& progress)
{
    if (!QFileInfo(path).isFile())
        return ReadFailure{0, QStringLiteral("فايل يافت نشد")};
    Record r;
    if (o.source == Source::Spreadsheet && (io::Workbook::looksLikeWorkbook(path) || spreadsheetName(path))) {
        QString why;
        const std::unique_ptr<io::Workbook> book = io::Workbook::open(path, &why);
        if (!book)
            return ReadFailure{0, why};
        if (o.sheet < 0 || o.sheet >= book->sheetNames().size())
            return ReadFailure{0, QStringLiteral("کاربرگ %1 در کارپوشه نيست").arg(o.sheet + 1)};
        bool any = false;
        const bool ok = book->readSheet(o.sheet, [&](int row, const QStringList& cells) {
            any = true;
            if (progress && row % 1000 == 0 && !progress(row, 0))
                return false;
            if (row <= o.headerLines)
                return true;
            r.line = row;
            r.cells = cells;
            return record(r);
        }, &why);
        if (!ok)
            return ReadFailure{0, why};
        if (!any)
            return ReadFailure{0, QStringLiteral("کاربرگ خالي است")};
        return std::nullopt;
    }
    // The converter's .TMP file of a sheet is tab-separated text.
    const QChar separator = o.source == Source::Spreadsheet ? QLatin1Char('\t') : o.separator;
    return forEachTextLine(path, [&](int number, QString& text) {
        if (number <= o.headerLines)
            return true;
        r.line = number;
        if (o.source == Source::Fixed) {
            r.text = text;
        } else {
            r.cells = splitCells(text, separator);
        }
        return record(r);
    }, progress);
}

FileReading readStatementFile(const QString& path, const StatementLayout& layout, QChar chosenSeparator,
                              const std::function<bool(const StatementLine&)>& line, const std::function<bool(qint64, qint64)>& progress,
                              int sheet)
{
    const StatementParser parser(layout, chosenSeparator);
    SourceOptions o;
    o.source = layout.source;
    o.separator = parser.separator();
    o.headerLines = layout.headerLines;
    o.sheet = sheet;
    FileReading out;
    StatementLine parsed;
    QString why;
    bool sawRecord = false;
    const std::optional<ReadFailure> source = forEachRecord(path, o, [&](const Record& r) {
        sawRecord = true;
        switch (parser.parse(r, parsed, &why)) {
        case StatementParser::Result::Blank: return true;
        case StatementParser::Result::Failed: out.failure = ReadFailure{r.line, why}; return false;
        case StatementParser::Result::Line: break;
        }
        ++out.lines;
        if (!line(parsed)) {
            out.stopped = true;
            return false;
        }
        return true;
    }, [&](qint64 done, qint64 total) {
        if (progress && !progress(done, total)) {
            out.stopped = true;
            return false;
        }
        return true;
    });
    // A line's failure stops the source; the source's own (a file that is no text) is told otherwise.
    if (source)
        out.failure = source;
    if (!out.failure && !out.stopped && out.lines == 0)
        out.failure = ReadFailure{0, sawRecord ? QStringLiteral("در فايل سطري از صورتحساب نيست") : QStringLiteral("در فايل، پس از سطرهاي عنوان، سطري نيست")};
    return out;
}

QString readFailureText(const QString& path, const ReadFailure& f)
{
    QString text = QStringLiteral("اشکال در قرائت اطلاعات - فايل %1").arg(QFileInfo(path).fileName());
    if (f.line > 0)
        text += QStringLiteral("، سطر %1").arg(f.line);
    return text + QStringLiteral(": ") + f.reason;
}

} // namespace orvak::statements
