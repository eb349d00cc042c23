#include "core/io/SheetFill.h"

#include "core/io/Workbook.h"
#include "core/util/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cmath>
#include <zip.h>

namespace orvak::io {

namespace {

QString columnLetters(int column)   // 0 -> A
{
    QString s;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

QString xmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            // XML 1.0 has no place for most control characters.
            if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                out += c;
        }
    }
    return out;
}

bool readPart(const QString& path, const QString& part, QByteArray* bytes, QString* error)
{
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!zip) {
        *error = QStringLiteral("بايگاني فشرده کارپوشه خوانده نشد");
        return false;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    const QByteArray name = part.toUtf8();
    bool ok = zip_stat(zip, name.constData(), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && st.size < (zip_uint64_t(1) << 30);
    if (ok) {
        zip_file_t* f = zip_fopen(zip, name.constData(), 0);
        ok = f != nullptr;
        if (ok) {
            bytes->resize(qsizetype(st.size));
            ok = zip_fread(f, bytes->data(), st.size) == zip_int64_t(st.size);
            zip_fclose(f);
        }
    }
    zip_discard(zip);
    if (!ok)
        *error = QStringLiteral("کاربرگ در بايگاني کارپوشه خوانده نشد");
    return ok;
}

} // namespace

bool fillSheet(const QString& path, const QString& sheet, const QStringList& columns, const QList<QVariantList>& rows, QString* error)
{
    QString why;
    auto book = Workbook::open(path, &why);
    if (!book) {
        *error = workbookFailureText(path, why);
        return false;
    }
    const QStringList names = book->sheetNames();
    int index = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(sheet, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (index < 0) {
        *error = QStringLiteral("کاربرگ %1 در کارپوشه %2 نيست").arg(sheet, QDir::toNativeSeparators(path));
        return false;
    }
    const QString part = book->sheetPart(index);
    if (part.isEmpty()) {
        *error = QStringLiteral("فقط کارپوشه xlsx پر مي شود: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // The header row: the first row with a cell in it.
    int headerRow = 0;
    QStringList header;
    if (!book->readSheet(index, [&](int number, const QStringList& cells) {
            for (const QString& c : cells) {
                if (!c.trimmed().isEmpty()) {
                    headerRow = number;
                    header = cells;
                    return false;
                }
            }
            return true;
        }, &why)) {
        *error = workbookFailureText(path, why);
        return false;
    }
    QList<int> place;
    for (const QString& c : columns) {
        int at = -1;
        for (int i = 0; i < header.size() && at < 0; ++i) {
            if (header[i].trimmed().compare(c, Qt::CaseInsensitive) == 0)
                at = i;
        }
        if (at < 0) {
            *error = QStringLiteral("ستون %1 در سطر عنوان کاربرگ %2 نيست").arg(c, sheet);
            return false;
        }
        place << at;
    }
    book.reset();

    QByteArray raw;
    if (!readPart(path, part, &raw, error))
        return false;
    QString xml = QString::fromUtf8(raw);
    static const QRegularExpression dataRe(QStringLiteral("<sheetData\\b[^>]*?(/>|>(.*?)</sheetData>)"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch data = dataRe.match(xml);
    if (!data.hasMatch()) {
        *error = workbookFailureText(path, QStringLiteral("داده هاي کاربرگ %1 پيدا نشد").arg(sheet));
        return false;
    }
    // The header row's element kept as it stands.
    QString kept;
    static const QRegularExpression rowRe(QStringLiteral("<row\\b([^>]*?)(/>|>.*?</row>)"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression rAttr(QStringLiteral("\\br=\"(\\d+)\""));
    int sequential = 0;
    for (auto it = rowRe.globalMatch(data.captured(2)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QRegularExpressionMatch r = rAttr.match(m.captured(1));
        const int number = r.hasMatch() ? r.captured(1).toInt() : sequential + 1;
        sequential = number;
        if (number == headerRow) {
            kept = m.captured(0);
            break;
        }
    }
    QString body;
    body.reserve(rows.size() * columns.size() * 48 + kept.size());
    body += kept;
    int lastColumn = 0;
    for (int p : place)
        lastColumn = std::max(lastColumn, p);
    for (int r = 0; r < rows.size(); ++r) {
        const QString number = QString::number(headerRow + 1 + r);
        body += QStringLiteral("<row r=\"") + number + QStringLiteral("\">");
        // Cells in column order, as the format wants them.
        QList<std::pair<int, int>> order;
        for (int i = 0; i < place.size(); ++i)
            order << std::pair{place[i], i};
        std::sort(order.begin(), order.end());
        for (const auto& [column, i] : order) {
            const QVariant v = rows[r].value(i);
            if (!v.isValid() || v.isNull())
                continue;
            const QString ref = columnLetters(column) + number;
            if (v.typeId() == QMetaType::QString) {
                body += QStringLiteral("<c r=\"") + ref + QStringLiteral("\" t=\"inlineStr\"><is><t xml:space=\"preserve\">") +
                        xmlEscaped(v.toString()) + QStringLiteral("</t></is></c>");
            } else {
                const double d = v.toDouble();
                body += QStringLiteral("<c r=\"") + ref + QStringLiteral("\"><v>") + numberCellText(std::isfinite(d) ? d : 0) +
                        QStringLiteral("</v></c>");
            }
        }
        body += QStringLiteral("</row>");
    }
    xml.replace(data.capturedStart(0), data.capturedLength(0), QStringLiteral("<sheetData>") + body + QStringLiteral("</sheetData>"));
    static const QRegularExpression dimensionRe(QStringLiteral("<dimension\\b[^>]*/>"));
    const int lastRow = std::max(headerRow, headerRow + int(rows.size()));
    xml.replace(dimensionRe, QStringLiteral("<dimension ref=\"A1:%1%2\"/>").arg(columnLetters(std::max(lastColumn, int(header.size()) - 1))).arg(lastRow));

    // A copy of the workbook takes the new sheet, then replaces it.
    QFile original(path);
    if (!original.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("فايل قابل خواندن نيست: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QByteArray whole = original.readAll();
    original.close();
    const QFileInfo target(path);
    QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    const QString unwritable = QStringLiteral("فايل قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(path));
    if (!temp.open() || temp.write(whole) != whole.size() || !temp.flush()) {
        *error = unwritable;
        return false;
    }
    temp.close();
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(temp.fileName()).constData(), 0, &code);
    if (!zip) {
        *error = unwritable;
        return false;
    }
    const QByteArray newPart = xml.toUtf8();
    const zip_int64_t at = zip_name_locate(zip, part.toUtf8().constData(), 0);
    zip_source_t* source = zip_source_buffer(zip, newPart.constData(), zip_uint64_t(newPart.size()), 0);
    bool ok = at >= 0 && source && zip_file_replace(zip, zip_uint64_t(at), source, ZIP_FL_ENC_UTF_8) == 0;
    if (!ok) {
        if (source)
            zip_source_free(source);
        zip_discard(zip);
        *error = unwritable;
        return false;
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        *error = unwritable;
        return false;
    }
    QFile::setPermissions(temp.fileName(), target.permissions());
    util::syncFile(temp.fileName());
    if (!util::replaceFile(temp.fileName(), path)) {
        *error = unwritable;
        return false;
    }
    temp.setAutoRemove(false);
    util::syncFolder(target.absolutePath());
    return true;
}

} // namespace orvak::io
