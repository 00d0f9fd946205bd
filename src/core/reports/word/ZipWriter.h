#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <utility>

namespace korvan {

// Builds a zip archive in memory, entries in the order they were added.
class ZipWriter {
public:
    void add(const QString &name, const QByteArray &data);
    // The archive; a failure of the zip library raises a KorvanError.
    QByteArray finish() const;

private:
    // libzip reads these buffers only when the archive is closed: they must outlive finish().
    QVector<std::pair<QString, QByteArray>> m_entries;
};

} // namespace korvan
