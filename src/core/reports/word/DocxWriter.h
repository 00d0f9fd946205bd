#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <utility>

namespace korvan {

class WordDocument;

// Writes a WordDocument as an Office Open XML word-processing package (.docx).
class DocxWriter {
public:
    explicit DocxWriter(const WordDocument &document) : m_document(document) {}

    // The parts of the package, by name inside it, in the order they are stored.
    QVector<std::pair<QString, QByteArray>> parts() const;
    // The zipped package.
    QByteArray package() const;
    // Writes the package to a temporary file beside the target and puts it in place only when it
    // is complete. A failure raises a KorvanError naming the file.
    void save(const QString &path) const;

private:
    const WordDocument &m_document;
};

} // namespace korvan
