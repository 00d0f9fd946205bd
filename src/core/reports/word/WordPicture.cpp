#include "core/reports/word/WordPicture.h"

#include "core/Messages.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdlib>

namespace korvan {

namespace {

quint32 bigEndian32(const QByteArray &data, int offset)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + offset;
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

quint32 littleEndian32(const QByteArray &data, int offset)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + offset;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

quint16 littleEndian16(const QByteArray &data, int offset)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + offset;
    return quint16(p[0] | (p[1] << 8));
}

constexpr qint64 MaxPixels = 100000; // anything larger is a damaged header

// Width and height from a PNG's IHDR chunk.
bool pngSize(const QByteArray &data, qint64 &width, qint64 &height)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (data.size() < 24 || !data.startsWith(signature) || data.mid(12, 4) != "IHDR")
        return false;
    width = bigEndian32(data, 16);
    height = bigEndian32(data, 20);
    return true;
}

// Width and height from a BMP's info header (the old 12-byte core header or any later one).
bool bmpSize(const QByteArray &data, qint64 &width, qint64 &height)
{
    if (data.size() < 26 || !data.startsWith("BM"))
        return false;
    const quint32 headerSize = littleEndian32(data, 14);
    if (headerSize == 12) {
        width = littleEndian16(data, 18);
        height = littleEndian16(data, 20);
        return true;
    }
    if (headerSize < 40)
        return false;
    width = qint32(littleEndian32(data, 18));
    height = std::abs(qint64(qint32(littleEndian32(data, 22)))); // negative: stored top-down
    return true;
}

} // namespace

WordPicture WordPicture::fromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvanError(
            QStringLiteral("Не удалось открыть файл рисунка \"%1\".").arg(QDir::toNativeSeparators(fileName)));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KorvanError(
            QStringLiteral("Не удалось прочитать файл рисунка \"%1\".").arg(QDir::toNativeSeparators(fileName)));
    return fromData(data, fileName);
}

WordPicture WordPicture::fromData(const QByteArray &data, const QString &fileName)
{
    WordPicture picture;
    qint64 width = 0;
    qint64 height = 0;
    if (pngSize(data, width, height))
        picture.m_extension = QStringLiteral("png");
    else if (bmpSize(data, width, height))
        picture.m_extension = QStringLiteral("bmp");
    else
        throw KorvanError(QStringLiteral("Файл \"%1\" не является рисунком в формате PNG или BMP.")
                              .arg(QDir::toNativeSeparators(fileName)));
    if (width <= 0 || height <= 0 || width > MaxPixels || height > MaxPixels)
        throw KorvanError(QStringLiteral("Рисунок \"%1\" поврежден: недопустимый размер %2 x %3.")
                              .arg(QDir::toNativeSeparators(fileName))
                              .arg(width)
                              .arg(height));
    picture.m_data = data;
    picture.m_pixelWidth = int(width);
    picture.m_pixelHeight = int(height);
    picture.m_widthEmu = width * EmuPerPixel;
    picture.m_heightEmu = height * EmuPerPixel;
    return picture;
}

QString WordPicture::contentType() const
{
    return m_extension == QLatin1String("png") ? QStringLiteral("image/png") : QStringLiteral("image/bmp");
}

void WordPicture::fitInto(qint64 maxWidthEmu, qint64 maxHeightEmu)
{
    if (maxWidthEmu <= 0 || maxHeightEmu <= 0)
        return;
    const double scale =
        std::min({1.0, double(maxWidthEmu) / double(m_widthEmu), double(maxHeightEmu) / double(m_heightEmu)});
    if (scale >= 1.0)
        return;
    m_widthEmu = std::max<qint64>(1, qint64(double(m_widthEmu) * scale));
    m_heightEmu = std::max<qint64>(1, qint64(double(m_heightEmu) * scale));
}

} // namespace korvan
