#include "core/reports/PageMargins.h"
#include "core/data/Fields.h"

#include "core/reports/ReportSettings.h"

#include <array>

namespace korvan {

namespace {

struct Margin {
    QString field;
    const char *caption; // as the report settings window labels it
    int value;
};

// The six values in the window's order: the two vertical margins, the two horizontal ones, the
// two distances.
std::array<Margin, 6> marginsOf(const ReportPageSettings &page)
{
    return {{{fld::TopMargin, "верхнее", page.topMargin},
             {fld::BottomMargin, "нижнее", page.bottomMargin},
             {fld::LeftMargin, "левое", page.leftMargin},
             {fld::RightMargin, "правое", page.rightMargin},
             {fld::HeaderDistance, "до верхнего колонтитула", page.headerDistance},
             {fld::FooterDistance, "до нижнего колонтитула", page.footerDistance}}};
}

QString caption(const Margin &m) { return QString::fromUtf8(m.caption); }

} // namespace

PaperMillimetres paperMillimetres(const QString &paperSize, const QString &paperOrient)
{
    PaperMillimetres mm{210, 297};
    if (paperSize == QLatin1String("A3"))
        mm = {297, 420};
    else if (paperSize == QLatin1String("A5"))
        mm = {148, 210};
    if (paperOrient == QStringLiteral("альбомная"))
        std::swap(mm.width, mm.height);
    return mm;
}

std::optional<PageMarginProblem> checkPageMargin(const ReportPageSettings &page, const QString &field)
{
    const auto margins = marginsOf(page);
    int index = 0;
    while (index < int(margins.size()) && margins[index].field != field)
        ++index;
    if (index == int(margins.size()))
        return std::nullopt;
    const Margin &m = margins[index];
    if (m.value < 0)
        return PageMarginProblem{
            field,
            QStringLiteral("Поле страницы «%1» не может быть отрицательным: %2 мм.").arg(caption(m)).arg(m.value)};
    const PaperMillimetres paper = paperMillimetres(page.paperSize, page.paperOrient);
    const QString paperName = page.paperSize.isEmpty() ? QStringLiteral("A4") : page.paperSize;
    if (index >= 4) {
        if (m.value <= paper.height - MinTextMillimetres)
            return std::nullopt;
        return PageMarginProblem{field,
                                 QStringLiteral("Расстояние «%1» (%2 мм) не помещается на листе %3 высотой %4 мм.")
                                     .arg(caption(m))
                                     .arg(m.value)
                                     .arg(paperName)
                                     .arg(paper.height)};
    }
    const Margin &a = margins[index & ~1];
    const Margin &b = margins[index | 1];
    const bool vertical = index < 2;
    const int length = vertical ? paper.height : paper.width;
    const qint64 left = qint64(length) - a.value - b.value;
    if (left >= MinTextMillimetres)
        return std::nullopt;
    return PageMarginProblem{
        field, QStringLiteral("Поля страницы «%1» (%2 мм) и «%3» (%4 мм) оставляют для текста %5 мм %6 листа %7 "
                              "(%8 мм), а нужно не менее %9 мм.")
                   .arg(caption(a))
                   .arg(a.value)
                   .arg(caption(b))
                   .arg(b.value)
                   .arg(std::max<qint64>(left, 0))
                   .arg(vertical ? QStringLiteral("высоты") : QStringLiteral("ширины"), paperName)
                   .arg(length)
                   .arg(MinTextMillimetres)};
}

std::optional<PageMarginProblem> checkPageMargins(const ReportPageSettings &page)
{
    const auto margins = marginsOf(page);
    for (const Margin &m : margins)
        if (m.value < 0)
            return checkPageMargin(page, m.field);
    for (int i = 0; i < int(margins.size()); i += 2) {
        // Of a pair, the larger value is the one to correct.
        const Margin &first = i < 4 && margins[i + 1].value > margins[i].value ? margins[i + 1] : margins[i];
        const Margin &second = &first == &margins[i] ? margins[i + 1] : margins[i];
        for (const Margin *m : {&first, &second})
            if (auto problem = checkPageMargin(page, m->field))
                return problem;
    }
    return std::nullopt;
}

} // namespace korvan
