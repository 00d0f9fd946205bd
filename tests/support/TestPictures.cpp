#include "TestPictures.h"

#include <QtEndian>

namespace korvan::test {

namespace {

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray littleEndian(quint32 value, int size = 4)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes.left(size);
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian(quint32(data.size())) + type + data + bigEndian(crc32(type + data));
}

} // namespace

QByteArray makePng(int width, int height)
{
    QByteArray header = bigEndian(quint32(width)) + bigEndian(quint32(height));
    header += QByteArray("\x08\x00\x00\x00\x00", 5); // 8-bit greyscale
    QByteArray raw;
    for (int y = 0; y < height; ++y)
        raw += QByteArray(1, '\0') + QByteArray(width, char(0x80)); // filter byte, then pixels
    const QByteArray zlib = qCompress(raw).mid(4);                  // qCompress puts the length in front
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", QByteArray());
}

QByteArray makeBmp(int width, int height, bool topDown)
{
    const int rowSize = (width * 3 + 3) / 4 * 4;
    const int pixels = rowSize * height;
    QByteArray bmp = "BM" + littleEndian(quint32(54 + pixels)) + littleEndian(0) + littleEndian(54);
    bmp += littleEndian(40) + littleEndian(quint32(width)) + littleEndian(quint32(topDown ? -height : height));
    bmp += littleEndian(1, 2) + littleEndian(24, 2) + littleEndian(0) + littleEndian(quint32(pixels));
    bmp += littleEndian(3780) + littleEndian(3780) + littleEndian(0) + littleEndian(0);
    bmp += QByteArray(pixels, char(0xC0));
    return bmp;
}

} // namespace korvan::test
