#include "core/reports/word/TableLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvan {

namespace {

constexpr int SmallestHalfPoints = 16;

int twipsAt(double ems, int halfPoints, int padding) { return padding + int(std::ceil(ems * halfPoints * 10.0)); }

// Minimum widths with the header on one line or broken between words, and the widths on one line.
QVector<int> minimumWidths(const QVector<ColumnNeeds> &columns, int halfPoints, int padding, bool wrapHeader)
{
    QVector<int> widths;
    for (const ColumnNeeds &c : columns)
        widths << twipsAt(std::max({c.unbreakable, c.longestWord, wrapHeader ? c.headerWord : c.header}), halfPoints,
                          padding);
    return widths;
}

QVector<int> naturalWidths(const QVector<ColumnNeeds> &columns, int halfPoints, int padding)
{
    QVector<int> widths;
    for (const ColumnNeeds &c : columns)
        widths << twipsAt(std::max({c.unbreakable, c.longestWord, c.prose, c.header}), halfPoints, padding);
    return widths;
}

qint64 sum(const QVector<int> &widths) { return std::accumulate(widths.cbegin(), widths.cend(), qint64(0)); }

// Between the minimum and the natural widths: the room over the minimum is shared in proportion
// to what each column would still take.
QVector<int> spread(const QVector<int> &minimum, const QVector<int> &natural, int available)
{
    const qint64 naturalSum = sum(natural);
    if (naturalSum <= available)
        return natural;
    const qint64 extra = available - sum(minimum);
    const qint64 stretch = naturalSum - sum(minimum);
    QVector<int> widths(minimum.size());
    for (qsizetype c = 0; c < minimum.size(); ++c)
        widths[c] = minimum[c] + int(stretch > 0 ? extra * (natural[c] - minimum[c]) / stretch : 0);
    return widths;
}

bool fitOn(const QVector<ColumnNeeds> &columns, int halfPoints, int padding, int available, TableLayout &layout)
{
    for (const bool wrapHeader : {false, true}) {
        // Wrapping the header comes only after the smallest size.
        for (int size = halfPoints; size >= std::min(halfPoints, SmallestHalfPoints); --size) {
            if (wrapHeader && size != std::min(halfPoints, SmallestHalfPoints))
                continue;
            const QVector<int> minimum = minimumWidths(columns, size, padding, wrapHeader);
            if (sum(minimum) > available)
                continue;
            layout.widths = spread(minimum, naturalWidths(columns, size, padding), available);
            layout.halfPoints = size == halfPoints ? 0 : size;
            return true;
        }
    }
    return false;
}

} // namespace

int TableLayout::width() const { return int(sum(widths)); }

TableLayout fitTable(const QVector<ColumnNeeds> &columns, int halfPoints, int paddingTwips, int textWidth,
                     int landscapeTextWidth)
{
    TableLayout layout;
    if (columns.isEmpty())
        return layout;
    if (fitOn(columns, halfPoints, paddingTwips, textWidth, layout))
        return layout;
    if (landscapeTextWidth > textWidth && fitOn(columns, halfPoints, paddingTwips, landscapeTextWidth, layout)) {
        layout.landscape = true;
        return layout;
    }
    // Nothing holds the numbers whole: the smallest size, shrunk in proportion to fit.
    const int available = std::max(textWidth, landscapeTextWidth);
    layout.landscape = landscapeTextWidth > textWidth;
    const int size = std::min(halfPoints, SmallestHalfPoints);
    layout.halfPoints = size == halfPoints ? 0 : size;
    const QVector<int> minimum = minimumWidths(columns, size, paddingTwips, true);
    const qint64 total = std::max<qint64>(1, sum(minimum));
    for (const int w : minimum)
        layout.widths << std::max(1, int(qint64(w) * available / total));
    return layout;
}

} // namespace korvan
