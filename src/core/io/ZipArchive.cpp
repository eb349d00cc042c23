#include "core/io/ZipArchive.h"

#include "core/util/AtomicFile.h"

#include <QDir>
#include <QFile>

#include <zip.h>

namespace orvak::io {

bool isZipArchive(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("PK\x03\x04", 4);
}

bool zipOneFile(const QString& file, const QString& entry, const QString& archive, QString* error)
{
    const QString part = archive + QStringLiteral(".part");
    auto fail = [&](zip_t* z) {
        if (z)
            zip_discard(z);
        QFile::remove(part);
        if (error)
            *error = QStringLiteral("فايل فشرده قابل نوشتن نيست: %1").arg(QDir::toNativeSeparators(archive));
        return false;
    };
    QFile::remove(part);
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(part).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!z)
        return fail(nullptr);
    zip_source_t* source = zip_source_file(z, QFile::encodeName(file).constData(), 0, -1);
    if (!source)
        return fail(z);
    const zip_int64_t index = zip_file_add(z, entry.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return fail(z);
    }
    if (zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0 || zip_close(z) != 0)
        return fail(z);
    if (!util::restrictToOwner(part) || !util::syncFile(part) || !util::replaceFile(part, archive))
        return fail(nullptr);
    return true;
}

Unzipped unzipOneFile(const QString& archive, const QString& target)
{
    Unzipped result;
    int code = 0;
    zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!z)
        return result;
    auto finish = [&](UnzipOutcome outcome, zip_file_t* f = nullptr) {
        if (f)
            zip_fclose(f);
        zip_discard(z);
        if (outcome != UnzipOutcome::Done)
            QFile::remove(target);
        result.outcome = outcome;
        return result;
    };
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_get_num_entries(z, 0) != 1 || zip_stat_index(z, 0, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)
        || QByteArray(st.name).endsWith('/'))
        return finish(UnzipOutcome::Foreign);
    result.entry = QString::fromUtf8(st.name);
    zip_file_t* f = zip_fopen_index(z, 0, 0);
    if (!f) {
        const int why = zip_error_code_zip(zip_get_error(z));
        return finish(why == ZIP_ER_ENCRNOTSUPP || why == ZIP_ER_COMPNOTSUPP || why == ZIP_ER_NOPASSWD ? UnzipOutcome::Foreign
                                                                                                     : UnzipOutcome::Damaged);
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return finish(UnzipOutcome::Unwritable, f);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    zip_uint64_t total = 0;
    for (;;) {
        // The last read checks the content against its checksum.
        const zip_int64_t n = zip_fread(f, buffer.data(), zip_uint64_t(buffer.size()));
        if (n < 0)
            return finish(UnzipOutcome::Damaged, f);
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            return finish(UnzipOutcome::Unwritable, f);
        total += zip_uint64_t(n);
    }
    out.close();
    if ((st.valid & ZIP_STAT_SIZE) && total != st.size)
        return finish(UnzipOutcome::Damaged, f);
    if (zip_fclose(f) != 0)
        return finish(UnzipOutcome::Damaged);
    return finish(UnzipOutcome::Done);
}

} // namespace orvak::io
