#include "core/reports/word/FontMetrics.h"

#include <QFile>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>

namespace korvan {

namespace {

// Times' own advances, for a machine without Liberation Serif.
int builtInAdvance(char16_t ch)
{
    static const char *const latinLower =
        "444500444500444333500500278278500278778500500500500333389278500500722500500444";
    static const char *const latinUpper =
        "722667667722611556722722333389722611889722722556722667556611722722944722722611";
    static const short cyrillicUpper[32] = {722, 574, 667,  578,  682, 611, 899, 525, 722,  722, 667,
                                            678, 889, 722,  722,  722, 556, 667, 611, 722,  757, 722,
                                            722, 667, 1009, 1009, 736, 889, 574, 667, 1012, 656};
    static const short cyrillicLower[32] = {444, 509, 472, 410, 509, 444, 691, 395, 535, 535, 486,
                                            499, 633, 535, 500, 535, 500, 444, 437, 500, 648, 500,
                                            535, 503, 770, 770, 517, 672, 456, 429, 747, 460};
    const auto three = [](const char *digits, int i) {
        return (digits[i * 3] - '0') * 100 + (digits[i * 3 + 1] - '0') * 10 + (digits[i * 3 + 2] - '0');
    };
    if (ch >= u'0' && ch <= u'9')
        return 500;
    if (ch >= u'a' && ch <= u'z')
        return three(latinLower, ch - u'a');
    if (ch >= u'A' && ch <= u'Z')
        return three(latinUpper, ch - u'A');
    if (ch >= 0x0410 && ch <= 0x042F)
        return cyrillicUpper[ch - 0x0410];
    if (ch >= 0x0430 && ch <= 0x044F)
        return cyrillicLower[ch - 0x0430];
    switch (ch) {
    case u' ':
    case u',':
    case u'.':
    case u';':
    case u':':
        return 250;
    case u'(':
    case u')':
    case u'-':
        return 333;
    case u'$':
        return 500;
    case u'/':
        return 278;
    default:
        return 600;
    }
}

// Big-endian reads that never run past the data: a damaged file gives zeros, not a crash.
struct Reader {
    const QByteArray &data;
    quint32 u16(qint64 at) const
    {
        if (at < 0 || at + 2 > data.size())
            return 0;
        return qFromBigEndian<quint16>(data.constData() + at);
    }
    quint32 u32(qint64 at) const
    {
        if (at < 0 || at + 4 > data.size())
            return 0;
        return qFromBigEndian<quint32>(data.constData() + at);
    }
};

QString findFontFile(const QString &name)
{
    const QStringList folders = {QStringLiteral("/usr/share/fonts/truetype/liberation"),
                                 QStringLiteral("/usr/share/fonts/truetype/liberation2"),
                                 QStringLiteral("/usr/share/fonts/liberation"),
                                 QStringLiteral("/usr/share/fonts/liberation-serif"),
                                 QStringLiteral("/usr/local/share/fonts"),
                                 QStringLiteral("/usr/share/fonts/TTF")};
    for (const QString &folder : folders) {
        const QString path = folder + u'/' + name;
        if (QFile::exists(path))
            return path;
    }
    return QStandardPaths::locate(QStandardPaths::FontsLocation, name);
}

} // namespace

FontMetrics::FontMetrics(const QString &fileName) : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024 * 1024)
        return;
    const QByteArray data = file.readAll();
    const Reader r{data};
    qint64 head = -1, hhea = -1, hmtx = -1, cmap = -1;
    const quint32 tables = r.u16(4);
    for (quint32 i = 0; i < tables; ++i) {
        const qint64 record = 12 + 16 * qint64(i);
        const QByteArray tag = data.mid(record, 4);
        const qint64 offset = r.u32(record + 8);
        if (tag == "head")
            head = offset;
        else if (tag == "hhea")
            hhea = offset;
        else if (tag == "hmtx")
            hmtx = offset;
        else if (tag == "cmap")
            cmap = offset;
    }
    if (head < 0 || hhea < 0 || hmtx < 0 || cmap < 0)
        return;
    const double unitsPerEm = r.u16(head + 18);
    const quint32 metrics = r.u16(hhea + 34);
    if (unitsPerEm <= 0 || metrics == 0)
        return;
    const auto glyphAdvance = [&](quint32 glyph) {
        const quint32 units = r.u16(hmtx + 4 * qint64(std::min(glyph, metrics - 1)));
        return quint16(std::lround(units * 1000.0 / unitsPerEm));
    };

    // The Unicode BMP subtable (platform 3, encoding 1, format 4).
    qint64 subtable = -1;
    const quint32 encodings = r.u16(cmap + 2);
    for (quint32 i = 0; i < encodings; ++i) {
        const qint64 record = cmap + 4 + 8 * qint64(i);
        if (r.u16(record) == 3 && r.u16(record + 2) == 1 && r.u16(cmap + r.u32(record + 4)) == 4)
            subtable = cmap + r.u32(record + 4);
    }
    if (subtable < 0)
        return;
    const quint32 segments = r.u16(subtable + 6) / 2;
    const qint64 ends = subtable + 14;
    const qint64 starts = ends + 2 * segments + 2;
    const qint64 deltas = starts + 2 * segments;
    const qint64 rangeOffsets = deltas + 2 * segments;
    QVector<quint16> advance(0x10000, 0);
    for (quint32 s = 0; s < segments; ++s) {
        const quint32 end = r.u16(ends + 2 * s);
        const quint32 begin = r.u16(starts + 2 * s);
        const quint32 delta = r.u16(deltas + 2 * s);
        const qint64 rangeAt = rangeOffsets + 2 * s;
        const quint32 rangeOffset = r.u16(rangeAt);
        for (quint32 c = begin; c <= end && c < 0xFFFF; ++c) {
            quint32 glyph = 0;
            if (rangeOffset == 0) {
                glyph = (c + delta) & 0xFFFF;
            } else {
                glyph = r.u16(rangeAt + rangeOffset + 2 * (c - begin));
                if (glyph != 0)
                    glyph = (glyph + delta) & 0xFFFF;
            }
            if (glyph != 0)
                advance[int(c)] = glyphAdvance(glyph);
        }
    }
    m_missing = glyphAdvance(0);
    m_advance = std::move(advance);
}

const FontMetrics &FontMetrics::times(bool bold)
{
    static const FontMetrics regular(findFontFile(QStringLiteral("LiberationSerif-Regular.ttf")));
    static const FontMetrics boldFace(findFontFile(QStringLiteral("LiberationSerif-Bold.ttf")));
    return bold && boldFace.isValid() ? boldFace : regular;
}

double FontMetrics::advance(char16_t ch) const
{
    if (!isValid())
        return builtInAdvance(ch);
    const quint16 a = m_advance[ch];
    return a != 0 || ch == 0 ? a : m_missing;
}

double FontMetrics::width(QStringView text, double points) const
{
    double thousandths = 0;
    for (const QChar c : text)
        thousandths += advance(c.unicode());
    return thousandths * points / 1000.0;
}

} // namespace korvan
