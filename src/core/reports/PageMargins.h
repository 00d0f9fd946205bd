#pragma once

#include <QString>
#include <optional>

namespace korvan {

struct ReportPageSettings;

// Smallest width and height of text that margins must leave on the paper, mm.
inline constexpr int MinTextMillimetres = 20;

// A page margin or distance that the paper cannot take: the report.DB field to put the focus on
// and the message, with the values in millimetres as the user typed them.
struct PageMarginProblem {
    QString field;
    QString message;
};

// Paper size in millimetres for the stored paper and orientation texts (A4 portrait when unknown).
struct PaperMillimetres {
    int width;
    int height;
};
PaperMillimetres paperMillimetres(const QString &paperSize, const QString &paperOrient);

// What is wrong with one margin or distance of the page (a report.DB field name): negative, or
// leaving with its pair less than MinTextMillimetres of text across or down the paper.
std::optional<PageMarginProblem> checkPageMargin(const ReportPageSettings &page, const QString &field);
// The first problem of the page, naming the larger margin of a pair that does not fit (the one
// most likely mistyped); nothing when the page is sound.
std::optional<PageMarginProblem> checkPageMargins(const ReportPageSettings &page);

} // namespace korvan
