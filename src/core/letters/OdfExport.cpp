#include "core/letters/OdfExport.h"

#include "core/util/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QXmlStreamWriter>

#include <zip.h>

namespace orvak::letters {

namespace {

const QString Office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString Style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString Text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString FoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString SvgNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");

void namespaces(QXmlStreamWriter& x)
{
    x.writeNamespace(Office, QStringLiteral("office"));
    x.writeNamespace(Style, QStringLiteral("style"));
    x.writeNamespace(Text, QStringLiteral("text"));
    x.writeNamespace(FoNs, QStringLiteral("fo"));
    x.writeNamespace(SvgNs, QStringLiteral("svg"));
}

QString alignOf(Qt::Alignment a)
{
    // In a right-to-left paragraph "start" is the right edge.
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    if ((a & Qt::AlignLeft) && (a & Qt::AlignAbsolute))
        return QStringLiteral("left");
    if (a & Qt::AlignLeft)
        return QStringLiteral("end");
    return QStringLiteral("start");
}

void rtlParagraph(QXmlStreamWriter& x, const QString& align)
{
    x.writeStartElement(Style, QStringLiteral("paragraph-properties"));
    x.writeAttribute(Style, QStringLiteral("writing-mode"), QStringLiteral("rl-tb"));
    x.writeAttribute(FoNs, QStringLiteral("text-align"), align);
    x.writeEndElement();
}

void textProperties(QXmlStreamWriter& x, const QTextCharFormat& f)
{
    x.writeStartElement(Style, QStringLiteral("text-properties"));
    const QStringList families = f.fontFamilies().toStringList();
    const QString family = families.value(0);
    if (!family.isEmpty()) {
        x.writeAttribute(Style, QStringLiteral("font-name"), family);
        x.writeAttribute(Style, QStringLiteral("font-name-complex"), family);
    }
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
        const QString size = QString::number(f.fontPointSize()) + QStringLiteral("pt");
        x.writeAttribute(FoNs, QStringLiteral("font-size"), size);
        x.writeAttribute(Style, QStringLiteral("font-size-complex"), size);
    }
    if (f.fontWeight() >= QFont::Bold) {
        x.writeAttribute(FoNs, QStringLiteral("font-weight"), QStringLiteral("bold"));
        x.writeAttribute(Style, QStringLiteral("font-weight-complex"), QStringLiteral("bold"));
    }
    if (f.fontItalic()) {
        x.writeAttribute(FoNs, QStringLiteral("font-style"), QStringLiteral("italic"));
        x.writeAttribute(Style, QStringLiteral("font-style-complex"), QStringLiteral("italic"));
    }
    if (f.fontUnderline()) {
        x.writeAttribute(Style, QStringLiteral("text-underline-style"), QStringLiteral("solid"));
        x.writeAttribute(Style, QStringLiteral("text-underline-width"), QStringLiteral("auto"));
        x.writeAttribute(Style, QStringLiteral("text-underline-color"), QStringLiteral("font-color"));
    }
    x.writeAttribute(Style, QStringLiteral("language-complex"), QStringLiteral("fa"));
    x.writeAttribute(Style, QStringLiteral("country-complex"), QStringLiteral("IR"));
    x.writeEndElement();
}

void writeSpans(QXmlStreamWriter& x, const QString& text)
{
    // Runs of spaces and line breaks as the format spells them.
    QString run;
    int spaces = 0;
    auto flush = [&] {
        if (!run.isEmpty())
            x.writeCharacters(run);
        run.clear();
    };
    for (QChar c : text) {
        if (c == QLatin1Char(' ')) {
            ++spaces;
            continue;
        }
        if (spaces > 0) {
            run += QLatin1Char(' ');
            if (spaces > 1) {
                flush();
                x.writeEmptyElement(Text, QStringLiteral("s"));
                x.writeAttribute(Text, QStringLiteral("c"), QString::number(spaces - 1));
            }
            spaces = 0;
        }
        if (c == QChar::LineSeparator) {
            flush();
            x.writeEmptyElement(Text, QStringLiteral("line-break"));
        } else {
            run += c;
        }
    }
    if (spaces > 0)
        run += QLatin1Char(' ');
    flush();
}

} // namespace

QByteArray odtContent(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument();
    x.writeStartElement(Office, QStringLiteral("document-content"));
    namespaces(x);
    x.writeAttribute(Office, QStringLiteral("version"), QStringLiteral("1.2"));

    // Styles: one paragraph style per block, one text style per fragment.
    x.writeStartElement(Office, QStringLiteral("automatic-styles"));
    int p = 0, t = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next(), ++p) {
        x.writeStartElement(Style, QStringLiteral("style"));
        x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("P%1").arg(p));
        x.writeAttribute(Style, QStringLiteral("family"), QStringLiteral("paragraph"));
        x.writeAttribute(Style, QStringLiteral("parent-style-name"), QStringLiteral("Standard"));
        // Without an alignment of its own a paragraph starts at the right.
        const QTextBlockFormat bf = b.blockFormat();
        rtlParagraph(x, bf.hasProperty(QTextFormat::BlockAlignment) ? alignOf(bf.alignment()) : QStringLiteral("start"));
        x.writeEndElement();
        for (auto it = b.begin(); !it.atEnd(); ++it, ++t) {
            x.writeStartElement(Style, QStringLiteral("style"));
            x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("T%1").arg(t));
            x.writeAttribute(Style, QStringLiteral("family"), QStringLiteral("text"));
            textProperties(x, it.fragment().charFormat());
            x.writeEndElement();
        }
    }
    x.writeStartElement(Text, QStringLiteral("list-style"));
    x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("L1"));
    x.writeStartElement(Text, QStringLiteral("list-level-style-bullet"));
    x.writeAttribute(Text, QStringLiteral("level"), QStringLiteral("1"));
    x.writeAttribute(Text, QStringLiteral("bullet-char"), QStringLiteral("\u2022"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();   // automatic-styles

    x.writeStartElement(Office, QStringLiteral("body"));
    x.writeStartElement(Office, QStringLiteral("text"));
    p = t = 0;
    bool inList = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next(), ++p) {
        const bool listed = b.textList() != nullptr;
        if (listed && !inList) {
            x.writeStartElement(Text, QStringLiteral("list"));
            x.writeAttribute(Text, QStringLiteral("style-name"), QStringLiteral("L1"));
        } else if (!listed && inList) {
            x.writeEndElement();
        }
        inList = listed;
        if (listed)
            x.writeStartElement(Text, QStringLiteral("list-item"));
        x.writeStartElement(Text, QStringLiteral("p"));
        x.writeAttribute(Text, QStringLiteral("style-name"), QStringLiteral("P%1").arg(p));
        for (auto it = b.begin(); !it.atEnd(); ++it, ++t) {
            x.writeStartElement(Text, QStringLiteral("span"));
            x.writeAttribute(Text, QStringLiteral("style-name"), QStringLiteral("T%1").arg(t));
            // No directional isolates: the word processor's own bidirectional
            // reading keeps numbers whole, and some draw the isolates as marks.
            writeSpans(x, it.fragment().text());
            x.writeEndElement();
        }
        x.writeEndElement();
        if (listed)
            x.writeEndElement();
    }
    if (inList)
        x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

namespace {

QByteArray stylesXml()
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.writeStartDocument();
    x.writeStartElement(Office, QStringLiteral("document-styles"));
    namespaces(x);
    x.writeAttribute(Office, QStringLiteral("version"), QStringLiteral("1.2"));
    x.writeStartElement(Office, QStringLiteral("styles"));
    x.writeStartElement(Style, QStringLiteral("default-style"));
    x.writeAttribute(Style, QStringLiteral("family"), QStringLiteral("paragraph"));
    rtlParagraph(x, QStringLiteral("start"));
    x.writeEndElement();
    x.writeStartElement(Style, QStringLiteral("style"));
    x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("Standard"));
    x.writeAttribute(Style, QStringLiteral("family"), QStringLiteral("paragraph"));
    rtlParagraph(x, QStringLiteral("start"));
    x.writeEndElement();
    x.writeEndElement();
    // A5-sized pages would surprise the reader: the word processor's A4 page.
    x.writeStartElement(Office, QStringLiteral("automatic-styles"));
    x.writeStartElement(Style, QStringLiteral("page-layout"));
    x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("PM1"));
    x.writeStartElement(Style, QStringLiteral("page-layout-properties"));
    x.writeAttribute(FoNs, QStringLiteral("page-width"), QStringLiteral("21cm"));
    x.writeAttribute(FoNs, QStringLiteral("page-height"), QStringLiteral("29.7cm"));
    x.writeAttribute(Style, QStringLiteral("writing-mode"), QStringLiteral("rl-tb"));
    x.writeAttribute(FoNs, QStringLiteral("margin"), QStringLiteral("2cm"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(Office, QStringLiteral("master-styles"));
    x.writeStartElement(Style, QStringLiteral("master-page"));
    x.writeAttribute(Style, QStringLiteral("name"), QStringLiteral("Standard"));
    x.writeAttribute(Style, QStringLiteral("page-layout-name"), QStringLiteral("PM1"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

const char* const Manifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">\n"
    " <manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>\n"
    " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
    " <manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>\n"
    "</manifest:manifest>\n";

bool addEntry(zip_t* z, const char* name, const QByteArray& data, bool store)
{
    // libzip copies the buffer only when asked; the data outlives zip_close here.
    zip_source_t* s = zip_source_buffer(z, data.constData(), zip_uint64_t(data.size()), 0);
    if (!s)
        return false;
    const zip_int64_t i = zip_file_add(z, name, s, ZIP_FL_ENC_UTF_8);
    if (i < 0) {
        zip_source_free(s);
        return false;
    }
    return zip_set_file_compression(z, zip_uint64_t(i), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) == 0;
}

} // namespace

bool writeOdt(const QString& html, const QString& path, QString* error)
{
    auto fail = [&](zip_t* z, const QString& part) {
        if (z)
            zip_discard(z);
        if (!part.isEmpty())
            QFile::remove(part);
        if (error)
            *error = QStringLiteral("فايل در مسير زير قابل ايجاد نيست: %1").arg(path);
        return false;
    };
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return fail(nullptr, {});
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    const QByteArray mimetype("application/vnd.oasis.opendocument.text");
    const QByteArray manifest(Manifest);
    const QByteArray content = odtContent(html);
    const QByteArray styles = stylesXml();
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(part).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!z)
        return fail(nullptr, part);
    // The mimetype comes first and uncompressed, as readers look for it there.
    if (!addEntry(z, "mimetype", mimetype, true) || !addEntry(z, "META-INF/manifest.xml", manifest, false) || !addEntry(z, "content.xml", content, false)
        || !addEntry(z, "styles.xml", styles, false))
        return fail(z, part);
    if (zip_close(z) != 0)
        return fail(z, part);
    if (!util::replaceFile(part, path))
        return fail(nullptr, part);
    return true;
}

} // namespace orvak::letters
