#include "ZipReader.h"

#include <zip.h>

namespace korvan::test {

ZipReader::ZipReader(const QString &path)
{
    int error = 0;
    zip_t *archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive)
        return;
    m_open = true;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0) {
            m_open = false;
            break;
        }
        const QString name = QString::fromUtf8(stat.name);
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file || zip_fread(file, data.data(), stat.size) != zip_int64_t(stat.size)) {
            if (file)
                zip_fclose(file);
            m_open = false;
            break;
        }
        zip_fclose(file);
        m_names << name;
        m_entries.insert(name, data);
    }
    zip_close(archive);
}

} // namespace korvan::test
