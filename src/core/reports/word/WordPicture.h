#pragma once

#include <QByteArray>
#include <QString>

namespace korvan {

// A picture stored in a document: the file's bytes as they were read, and its size on the page.
class WordPicture {
public:
    // Reads a PNG or BMP file at once (callers delete the file right after inserting it).
    // An unreadable file or another format raises a KorvanError naming the file.
    static WordPicture fromFile(const QString &fileName);
    // The same from bytes already read; fileName only names the picture in messages.
    static WordPicture fromData(const QByteArray &data, const QString &fileName);

    const QByteArray &data() const { return m_data; }
    // "png" or "bmp", and the matching MIME type.
    const QString &extension() const { return m_extension; }
    QString contentType() const;
    int pixelWidth() const { return m_pixelWidth; }
    int pixelHeight() const { return m_pixelHeight; }

    // Size on the page in EMU (914400 per inch). Starts at the pixel size at 96 dpi.
    qint64 widthEmu() const { return m_widthEmu; }
    qint64 heightEmu() const { return m_heightEmu; }
    // Shrinks the picture, keeping its proportions, so that it fits the given box.
    void fitInto(qint64 maxWidthEmu, qint64 maxHeightEmu);

    static constexpr qint64 EmuPerPixel = 9525; // at 96 dpi
    static constexpr qint64 EmuPerPoint = 12700;

private:
    QByteArray m_data;
    QString m_extension;
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
    qint64 m_widthEmu = 0;
    qint64 m_heightEmu = 0;
};

} // namespace korvan
