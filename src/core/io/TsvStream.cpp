#include "core/io/TsvStream.h"

#include "core/db/Cursor.h"
#include "core/util/Jalali.h"

#include <QIODevice>
#include <cmath>
#include <memory>

namespace orvak::io {

namespace {

constexpr qsizetype kFlushAt = 1 << 16;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

QByteArrayView trimmed(QByteArrayView v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isSpace(v[b]))
        ++b;
    while (e > b && isSpace(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

void appendEscaped(QByteArray& out, QByteArrayView v)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char c = v[i];
        const char* escape = c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : nullptr;
        if (!escape)
            continue;
        out.append(v.sliced(from, i - from));
        out.append(escape, 2);
        from = i + 1;
    }
    out.append(v.sliced(from));
}

QByteArray escapedUtf8(QStringView text)
{
    QByteArray out;
    appendEscaped(out, text.toUtf8());
    return out;
}

// How one visible column of a list is written, decided once for the whole list.
struct Writer {
    enum Kind { Plain, Codes, Lookup };
    Kind kind = Plain;
    int field = -1;   // its place in the query's result
    CellFormat format = CellFormat::Text;
    bool total = false;
    qint64 sum = 0;
    QHash<qint64, QByteArray> texts;   // of a coded or looked-up column, escaped
    QByteArray otherwise;
};

qint64 whole(double v) { return std::isfinite(v) ? qint64(std::llround(v)) : 0; }

bool isPlainDate(QByteArrayView v)
{
    if (v.size() != 10 || v[4] != '/' || v[7] != '/')
        return false;
    for (qsizetype i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (v[i] < '0' || v[i] > '9')
            return false;
    }
    return true;
}

void writeCell(TsvWriter& out, Writer& w, const db::Cursor& c)
{
    if (w.kind != Writer::Plain) {
        // A missing or empty code reads as 0, as every reader of these fields does.
        qint64 key = 0;
        if (w.field >= 0) {
            switch (c.type(w.field)) {
            case db::CellType::Integer:
                key = c.integer(w.field);
                break;
            case db::CellType::Real:
                key = qint64(c.real(w.field));
                break;
            case db::CellType::Text:
                key = c.value(w.field).toLongLong();
                break;
            case db::CellType::Null:
                break;
            }
        }
        const auto it = w.texts.constFind(key);
        out.rawCell(it != w.texts.constEnd() ? QByteArrayView(*it) : QByteArrayView(w.otherwise));
        return;
    }
    if (w.field < 0) {
        out.emptyCell();
        return;
    }
    const db::CellType type = c.type(w.field);
    if (type == db::CellType::Null) {
        out.emptyCell();
        return;
    }
    const bool numeric = type == db::CellType::Integer || type == db::CellType::Real;
    const auto number = [&] { return type == db::CellType::Integer ? double(c.integer(w.field)) : c.real(w.field); };
    if (w.total && numeric)
        w.sum += type == db::CellType::Integer ? c.integer(w.field) : whole(c.real(w.field));
    switch (w.format) {
    case CellFormat::Amount:
    case CellFormat::Integer:
        if (type == db::CellType::Integer)
            out.cell(c.integer(w.field));
        else if (type == db::CellType::Real)
            out.cell(whole(c.real(w.field)));
        else
            out.utf8Cell(c.utf8(w.field));   // a damaged number is shown as it is stored
        return;
    case CellFormat::JalaliDate: {
        const QByteArrayView text = trimmed(c.utf8(w.field));
        if (isPlainDate(text)) {
            out.rawCell(text);
            return;
        }
        const QString t = QString::fromUtf8(text);
        if (const std::optional<util::JalaliDate> date = util::parseJalali(t))
            out.cell(date->toText());
        else
            out.cell(t == QStringLiteral("/  /") ? QString() : t);
        return;
    }
    case CellFormat::Boolean:
        out.cell(numeric ? (number() != 0 ? QStringLiteral("بله") : QStringLiteral("خير")) : QStringLiteral("خير"));
        return;
    case CellFormat::Text:
        if (type == db::CellType::Integer)
            out.cell(c.integer(w.field));
        else
            out.utf8Cell(c.utf8(w.field));
        return;
    }
}

} // namespace

QString tsvCell(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        switch (ch.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

TsvWriter::TsvWriter(QTextStream& out)
    : out_(out)
{
    buffer_.reserve(kFlushAt + 4096);
}

TsvWriter::~TsvWriter() { flush(); }

void TsvWriter::separate()
{
    if (lineStarted_)
        buffer_.append('\t');
    lineStarted_ = true;
}

TsvWriter& TsvWriter::cell(QStringView text)
{
    separate();
    appendEscaped(buffer_, text.toUtf8());
    return *this;
}

TsvWriter& TsvWriter::utf8Cell(QByteArrayView utf8)
{
    separate();
    appendEscaped(buffer_, trimmed(utf8));
    return *this;
}

TsvWriter& TsvWriter::cell(qint64 number)
{
    separate();
    char digits[24];
    const int n = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(number));
    buffer_.append(digits, n);
    return *this;
}

TsvWriter& TsvWriter::emptyCell()
{
    separate();
    return *this;
}

TsvWriter& TsvWriter::rawCell(QByteArrayView utf8)
{
    separate();
    buffer_.append(utf8);
    return *this;
}

void TsvWriter::endLine()
{
    buffer_.append('\n');
    lineStarted_ = false;
    if (buffer_.size() >= kFlushAt)
        flush();
}

void TsvWriter::flush()
{
    if (buffer_.isEmpty())
        return;
    // Straight to the device where the stream has one (standard output); a stream
    // over a string takes the text.
    out_.flush();
    if (QIODevice* device = out_.device())
        device->write(buffer_);
    else
        out_ << QString::fromUtf8(buffer_);
    buffer_.clear();
}

std::optional<StreamedList> streamList(TsvWriter& out, ListSource& source, const ListDefinition& list, const QVariantMap& values,
                                       QString* error)
{
    QVariantMap binds = list.defaultParameters();
    for (auto it = values.begin(); it != values.end(); ++it)
        binds.insert(it.key(), it.value());
    std::unique_ptr<db::Cursor> cursor = db::openCursor(source.listDatabase(list.database), list.sql, binds, error);
    if (!cursor)
        return std::nullopt;
    const QStringList names = cursor->fieldNames();
    auto place = [&](const QString& field) {
        for (int i = 0; i < names.size(); ++i) {
            if (names[i].compare(field, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    };
    std::vector<Writer> writers;
    for (const ListField& f : list.columns) {
        if (!f.visible)
            continue;
        Writer w;
        w.field = place(f.field);
        w.format = f.format;
        w.total = f.total && !f.isComputed();
        if (f.lookup) {
            w.kind = Writer::Lookup;
            const LookupTable table = f.lookup(source);
            for (auto it = table.begin(); it != table.end(); ++it)
                w.texts.insert(it.key(), escapedUtf8(it.value()));
        } else if (!f.codes.isEmpty()) {
            w.kind = Writer::Codes;
            for (const auto& [code, text] : f.codes.entries) {
                if (!w.texts.contains(code))
                    w.texts.insert(code, escapedUtf8(text));
            }
            w.otherwise = escapedUtf8(f.codes.otherwise);
        }
        writers.push_back(std::move(w));
        out.cell(f.title);
    }
    out.endLine();
    StreamedList result;
    while (cursor->next()) {
        for (Writer& w : writers)
            writeCell(out, w, *cursor);
        out.endLine();
        ++result.rows;
    }
    out.flush();
    if (!cursor->failure().isEmpty()) {
        if (error)
            *error = cursor->failure();
        return std::nullopt;
    }
    int i = 0;
    for (const ListField& f : list.columns) {
        if (!f.visible)
            continue;
        if (writers[size_t(i)].total)
            result.totals << std::pair{f.title, writers[size_t(i)].sum};
        ++i;
    }
    return result;
}

void writeTotals(TsvWriter& out, const StreamedList& list)
{
    if (list.totals.isEmpty())
        return;
    out.endLine();
    for (const auto& [title, sum] : list.totals) {
        out.cell(title).cell(sum);
        out.endLine();
    }
    out.flush();
}

} // namespace orvak::io
