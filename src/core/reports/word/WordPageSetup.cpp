#include "core/reports/word/WordPageSetup.h"

#include "core/Messages.h"

#include <cmath>
#include <utility>

namespace korvan {

namespace {

// Portrait paper sizes in twips, as Word writes them.
std::pair<int, int> paperTwips(WdPaperSize size)
{
    switch (size) {
    case wdPaperA3:
        return {16838, 23811};
    case wdPaperA5:
        return {8391, 11906};
    case wdPaperA4:
        break;
    }
    return {11906, 16838};
}

constexpr float MaxMargin = 1584.0f; // 22 inches, Word's limit

void checkRange(float points, bool mayBeNegative)
{
    if (!std::isfinite(points) || std::fabs(points) > MaxMargin || (!mayBeNegative && points < 0))
        throw KorvanError(QStringLiteral("Недопустимое значение поля страницы: %1 пт.").arg(points));
}

void checkFits(double sum, int pageTwips)
{
    if (sum * 20.0 >= pageTwips)
        throw KorvanError(QStringLiteral("Поля страницы не помещаются на листе бумаги."));
}

} // namespace

void WordPageSetup::setPaperSize(WdPaperSize paperSize)
{
    if (paperSize != wdPaperA3 && paperSize != wdPaperA4 && paperSize != wdPaperA5)
        throw KorvanError(QStringLiteral("Неизвестный размер бумаги: %1.").arg(int(paperSize)));
    m_paperSize = paperSize;
}

void WordPageSetup::setOrientation(WdOrientation orientation)
{
    if (orientation != wdOrientPortrait && orientation != wdOrientLandscape)
        throw KorvanError(QStringLiteral("Неизвестная ориентация бумаги: %1.").arg(int(orientation)));
    m_orientation = orientation;
}

int WordPageSetup::pageWidthTwips() const
{
    const auto [w, h] = paperTwips(m_paperSize);
    return m_orientation == wdOrientLandscape ? h : w;
}

int WordPageSetup::pageHeightTwips() const
{
    const auto [w, h] = paperTwips(m_paperSize);
    return m_orientation == wdOrientLandscape ? w : h;
}

double WordPageSetup::textWidth() const { return pageWidthTwips() / 20.0 - m_left - m_right; }

double WordPageSetup::textHeight() const { return pageHeightTwips() / 20.0 - std::fabs(m_top) - std::fabs(m_bottom); }

void WordPageSetup::setTopMargin(float points)
{
    checkRange(points, true);
    checkFits(std::fabs(points) + std::fabs(m_bottom), pageHeightTwips());
    m_top = points;
}

void WordPageSetup::setBottomMargin(float points)
{
    checkRange(points, true);
    checkFits(std::fabs(m_top) + std::fabs(points), pageHeightTwips());
    m_bottom = points;
}

void WordPageSetup::setLeftMargin(float points)
{
    checkRange(points, false);
    checkFits(double(points) + m_right, pageWidthTwips());
    m_left = points;
}

void WordPageSetup::setRightMargin(float points)
{
    checkRange(points, false);
    checkFits(double(m_left) + points, pageWidthTwips());
    m_right = points;
}

void WordPageSetup::setHeaderDistance(float points)
{
    checkRange(points, false);
    m_header = points;
}

void WordPageSetup::setFooterDistance(float points)
{
    checkRange(points, false);
    m_footer = points;
}

} // namespace korvan
