#include "core/reports/word/ZipWriter.h"

#include "core/Messages.h"

#include <zip.h>

#include <cstdio>

namespace korvan {

namespace {

KorvanError zipFailure(zip_error_t *error)
{
    return KorvanError(
        QStringLiteral("Не удалось упаковать документ: %1.").arg(QString::fromLocal8Bit(zip_error_strerror(error))));
}

} // namespace

void ZipWriter::add(const QString &name, const QByteArray &data) { m_entries.append({name, data}); }

QByteArray ZipWriter::finish() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer) {
        const KorvanError failure = zipFailure(&error);
        zip_error_fini(&error);
        throw failure;
    }
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        const KorvanError failure = zipFailure(&error);
        zip_error_fini(&error);
        throw failure;
    }
    zip_error_fini(&error);
    zip_source_keep(buffer); // read back after zip_close, which would otherwise free it

    const auto fail = [&](zip_error_t *cause) {
        const KorvanError failure = zipFailure(cause);
        zip_discard(archive);
        zip_source_free(buffer);
        return failure;
    };

    for (const auto &[name, data] : m_entries) {
        // No copy: the data stays in m_entries until the archive is closed below.
        zip_source_t *source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        if (!source)
            throw fail(zip_get_error(archive));
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw fail(zip_get_error(archive));
        }
        // The fastest deflate: a report's XML repeats itself so much that it still shrinks
        // about tenfold, in a third of the time the default level takes.
        if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) < 0)
            throw fail(zip_get_error(archive));
    }
    if (zip_close(archive) < 0)
        throw fail(zip_get_error(archive));

    QByteArray result;
    bool ok = zip_source_open(buffer) == 0;
    if (ok) {
        ok = zip_source_seek(buffer, 0, SEEK_END) == 0;
        const zip_int64_t size = ok ? zip_source_tell(buffer) : -1;
        ok = size >= 0 && zip_source_seek(buffer, 0, SEEK_SET) == 0;
        if (ok) {
            result.resize(qsizetype(size));
            ok = zip_source_read(buffer, result.data(), zip_uint64_t(size)) == size;
        }
        zip_source_close(buffer);
    }
    if (!ok) {
        const KorvanError failure = zipFailure(zip_source_error(buffer));
        zip_source_free(buffer);
        throw failure;
    }
    zip_source_free(buffer);
    return result;
}

} // namespace korvan
