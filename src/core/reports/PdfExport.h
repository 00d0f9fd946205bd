#pragma once

#include "core/Progress.h"
#include "core/reports/ProjectReport.h"

#include <QString>

namespace korvan {

class TDataModule1;

// The LibreOffice program that converts documents, found on the PATH or where its packages put
// it; empty when it is not installed.
QString findLibreOffice();

// Converts a .docx file to PDF with LibreOffice in headless mode. It works in a temporary folder
// with a profile of its own (a LibreOffice the user has open does not block it), and the PDF is
// put in place only once it is complete: a failure leaves nothing half-written and an earlier
// file as it was. Progress advances while LibreOffice works. Failures raise a KorvanError.
void ConvertToPdf(const QString &docxPath, const QString &pdfPath, const Progress &progress = {});

// The project report (allVariants) or the variant report with the current report settings,
// written as a PDF file and nothing else. The feedback sees the report and then the conversion.
void ExportProjectReportPdf(TDataModule1 &data, bool allVariants, const QString &pdfPath,
                            const ReportFeedback &feedback = {});

} // namespace korvan
