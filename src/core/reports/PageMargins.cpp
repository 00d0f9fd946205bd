#include "reports/PageMargins.h"

#include "reports/ReportSettings.h"

namespace korvan {

namespace {

struct Margin {
    const char *field;
    const char *caption; // as the report settings window labels it
    int value;
};

QString outOfPaper(const Margin &a, const Margin &b, int left, const QString &side, const PaperMillimetres &,
                   const QString &paper, int length)
{
    return QStringLiteral("Поля страницы «%1» (%2 мм) и «%3» (%4 мм) оставляют для текста %5 мм %6 листа %7 "
                          "(%8 мм), а нужно не менее %9 мм.")
        .arg(QString::fromUtf8(a.caption))
        .arg(a.value)
        .arg(QString::fromUtf8(b.caption))
        .arg(b.value)
        .arg(left)
        .arg(side, paper)
        .arg(length)
        .arg(MinTextMillimetres);
}

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

std::optional<PageMarginProblem> checkPageMargins(const ReportPageSettings &page)
{
    const Margin top{"TopMargin", "верхнее", page.topMargin};
    const Margin bottom{"BottomMargin", "нижнее", page.bottomMargin};
    const Margin left{"LeftMargin", "левое", page.leftMargin};
    const Margin right{"RightMargin", "правое", page.rightMargin};
    const Margin header{"HeaderDistance", "до верхнего колонтитула", page.headerDistance};
    const Margin footer{"FooterDistance", "до нижнего колонтитула", page.footerDistance};

    for (const Margin &m : {top, bottom, left, right, header, footer}) {
        if (m.value < 0)
            return PageMarginProblem{QString::fromLatin1(m.field),
                                     QStringLiteral("Поле страницы «%1» не может быть отрицательным: %2 мм.")
                                         .arg(QString::fromUtf8(m.caption))
                                         .arg(m.value)};
    }
    const PaperMillimetres paper = paperMillimetres(page.paperSize, page.paperOrient);
    const QString paperName = page.paperSize.isEmpty() ? QStringLiteral("A4") : page.paperSize;
    // The larger of the pair is the one the user most likely mistyped.
    const auto pair = [&](const Margin &a, const Margin &b, int length, const QString &side)
        -> std::optional<PageMarginProblem> {
        const qint64 left = qint64(length) - a.value - b.value;
        if (left >= MinTextMillimetres)
            return std::nullopt;
        const Margin &culprit = a.value >= b.value ? a : b;
        return PageMarginProblem{QString::fromLatin1(culprit.field),
                                 outOfPaper(a, b, int(std::max<qint64>(left, 0)), side, paper, paperName, length)};
    };
    if (auto p = pair(top, bottom, paper.height, QStringLiteral("высоты")))
        return p;
    if (auto p = pair(left, right, paper.width, QStringLiteral("ширины")))
        return p;
    for (const Margin &m : {header, footer}) {
        if (m.value > paper.height - MinTextMillimetres)
            return PageMarginProblem{QString::fromLatin1(m.field),
                                     QStringLiteral("Расстояние «%1» (%2 мм) не помещается на листе %3 высотой %4 мм.")
                                         .arg(QString::fromUtf8(m.caption))
                                         .arg(m.value)
                                         .arg(paperName)
                                         .arg(paper.height)};
    }
    return std::nullopt;
}

} // namespace korvan
