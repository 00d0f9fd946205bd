#pragma once

#include <QString>

namespace korvan {

// How large a .docx document is likely to be on paper and how long LibreOffice is likely to take
// to convert it, told to the user before the conversion and used for its time limit. Read from the
// document itself: its lines of text, table rows and pictures, and the pages they fill at the
// report's usual font; calibrated on this program's reports.
struct PdfEstimate {
    int pages = 1;
    int seconds = 0;

    // The estimate of a document; a document that cannot be read gets the estimate of one page.
    static PdfEstimate ofDocx(const QString &docxPath);
    static PdfEstimate ofCounts(qint64 paragraphs, qint64 tableRows, qint64 tableCells, qint64 pictures);

    // The time LibreOffice is given before it is stopped: well above the estimate, never short of a
    // slow first start.
    int timeLimitSeconds() const;
    // "около 12 стр., около 2 мин" for the progress dialog.
    QString text() const;
};

} // namespace korvan
