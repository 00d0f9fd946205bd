#include "core/reports/PdfEstimate.h"

#include <QByteArray>
#include <QFile>

#include <zip.h>

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {

// Calibration on this program's reports (Liberation Serif 12 pt, A4, the delivered margins): a
// project report of 96 periods and 3 variants has 6344 lines and table rows on 190 pages, about 34
// a page; a chart takes half a page. LibreOffice took 44 s for it with a new profile on a shared
// 2-core machine: about 8 s to start and a quarter of a second a page.
constexpr double LinesPerPage = 34.0;
constexpr double PagesPerPicture = 0.5;
constexpr double StartSeconds = 8.0;
constexpr double SecondsPerPage = 0.25;
// The limit: three times the estimate, at least 3 minutes.
constexpr int LimitFactor = 3;
constexpr int LeastLimitSeconds = 180;

QByteArray documentXml(const QString &docxPath)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(docxPath).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    QByteArray xml;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, "word/document.xml", 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
        stat.size < zip_uint64_t(1) << 31) {
        if (zip_file_t *file = zip_fopen(archive, "word/document.xml", 0)) {
            xml.resize(qsizetype(stat.size));
            if (zip_fread(file, xml.data(), stat.size) != zip_int64_t(stat.size))
                xml.clear();
            zip_fclose(file);
        }
    }
    zip_discard(archive);
    return xml;
}

// Elements of a name, with attributes or without, but not longer names that begin the same.
qint64 countElements(const QByteArray &xml, const char *name)
{
    const QByteArray open = QByteArray("<") + name;
    qint64 n = 0;
    for (qsizetype at = xml.indexOf(open); at >= 0; at = xml.indexOf(open, at + open.size())) {
        const qsizetype next = at + open.size();
        if (next < xml.size() && (xml[next] == '>' || xml[next] == ' ' || xml[next] == '/'))
            ++n;
    }
    return n;
}

} // namespace

PdfEstimate PdfEstimate::ofCounts(qint64 paragraphs, qint64 tableRows, qint64 tableCells, qint64 pictures)
{
    // Every cell holds a paragraph of its own: those are counted by their rows.
    const qint64 lines = std::max<qint64>(0, paragraphs - tableCells) + tableRows;
    const double pages = double(lines) / LinesPerPage + double(pictures) * PagesPerPicture;
    PdfEstimate e;
    e.pages = std::max(1, int(std::ceil(pages)));
    e.seconds = int(std::ceil(StartSeconds + SecondsPerPage * e.pages));
    return e;
}

PdfEstimate PdfEstimate::ofDocx(const QString &docxPath)
{
    const QByteArray xml = documentXml(docxPath);
    if (xml.isEmpty())
        return ofCounts(0, 0, 0, 0);
    return ofCounts(countElements(xml, "w:p"), countElements(xml, "w:tr"), countElements(xml, "w:tc"),
                    countElements(xml, "w:drawing"));
}

int PdfEstimate::timeLimitSeconds() const { return std::max(LeastLimitSeconds, LimitFactor * seconds); }

QString PdfEstimate::text() const
{
    const QString time = seconds < 60 ? QStringLiteral("около %1 с").arg(seconds)
                                      : QStringLiteral("около %1 мин").arg((seconds + 30) / 60);
    return QStringLiteral("около %1 стр., %2").arg(pages).arg(time);
}

} // namespace korvan
