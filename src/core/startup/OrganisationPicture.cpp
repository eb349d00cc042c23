#include "core/startup/OrganisationPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace orvak::startup {

namespace {
const QString kTable = QStringLiteral("ARM");
const QString kRow = QStringLiteral("CODE = :c");
const QVariantMap kRowBinds{{QStringLiteral(":c"), 1}};
} // namespace

db::Fetched<OrganisationPicture> readOrganisationPicture(Session& session)
{
    const db::Fetched<QSqlRecord> row = db::firstRow(session.common(), QStringLiteral("Select PIC, PICTYPE From ARM Where CODE = :c"), kRowBinds);
    if (row.failed())
        return db::Fetched<OrganisationPicture>::failure(row.error());
    if (!row || row->value(0).toByteArray().isEmpty())
        return db::Fetched<OrganisationPicture>::none();
    return db::Fetched<OrganisationPicture>::found({row->value(0).toByteArray(), row->value(1).toString().trimmed()});
}

bool attachOrganisationPicture(Session& session, const QString& file, Prompt& prompt)
{
    QFile in(file);
    if (!QFileInfo(file).isFile() || !in.open(QIODevice::ReadOnly)) {
        prompt.info(QStringLiteral("فايل تصوير خوانده نشد: ") + file);
        return false;
    }
    if (in.size() > MaxOrganisationPictureBytes) {
        prompt.info(QStringLiteral("حجم فايل تصوير بيش از %1 مگابايت است").arg(MaxOrganisationPictureBytes / (1024 * 1024)));
        return false;
    }
    const QByteArray data = in.readAll();
    // The bytes are what is stored: they must read as a picture here, whatever the
    // file's name says.
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format.isEmpty() || reader.read().isNull()) {
        prompt.info(QStringLiteral("فايل انتخاب شده تصوير نيست"));
        return false;
    }
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) {
        return w.remove(db::Store::Common, kTable, kRow, kRowBinds)
            && w.insert(db::Store::Common, kTable,
                        {{QStringLiteral("CODE"), 1}, {QStringLiteral("PIC"), data}, {QStringLiteral("PICTYPE"), QString::fromLatin1(format).toUpper()}});
    }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

bool deleteOrganisationPicture(Session& session, Prompt& prompt)
{
    QString why;
    const bool ok = session.inWork([&](db::UnitOfWork& w) { return w.remove(db::Store::Common, kTable, kRow, kRowBinds); }, &why);
    if (!ok)
        prompt.info(why);
    return ok;
}

} // namespace orvak::startup
