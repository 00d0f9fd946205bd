#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace korvan::test {

// Reads every entry of a zip file (a saved .docx) into memory.
class ZipReader {
public:
    explicit ZipReader(const QString &path);

    bool isOpen() const { return m_open; }
    // Entry names in the archive's order.
    QStringList names() const { return m_names; }
    bool contains(const QString &name) const { return m_entries.contains(name); }
    // Empty when there is no such entry.
    QByteArray read(const QString &name) const { return m_entries.value(name); }

private:
    bool m_open = false;
    QStringList m_names;
    QMap<QString, QByteArray> m_entries;
};

} // namespace korvan::test
