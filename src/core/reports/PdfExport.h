#pragma once

#include "core/reports/ProjectReport.h"

#include <QString>

namespace korvan {

class ProgressControl;
class TDataModule1;

// The LibreOffice program that converts documents, found on the PATH or where its packages put
// it; empty when it is not installed.
QString findLibreOffice();

// Converts a .docx file to PDF with LibreOffice in headless mode. It works in a temporary folder
// with a profile of its own (a LibreOffice the user has open does not block it), and the PDF is
// put in place only once it is complete: a failure leaves nothing half-written and an earlier
// file as it was. LibreOffice runs in a process group of its own, ended with everything it started
// on cancel, on a failure and when it overruns its time limit, which grows with the document's
// pages. The control (if any) sees the step with the estimate of pages and time, and the advance;
// its cancel ends the conversion. Failures raise a KorvanError.
void ConvertToPdf(const QString &docxPath, const QString &pdfPath, ProgressControl *control = nullptr);

// The project report (allVariants) or the variant report with the current report settings,
// written as a PDF file and nothing else. The control sees the report and then the conversion.
void ExportProjectReportPdf(TDataModule1 &data, bool allVariants, const QString &pdfPath,
                            ProgressControl *control = nullptr);

} // namespace korvan
