#pragma once

#include <QString>

class QWidget;

namespace korvan {

class TDataModule1;
class WordApplication;

// The report of the window's current project (allVariants) or variant, as a Word document through
// the window's document (a new one or the one of the last export, as the report settings say) or as
// a PDF file beside the documents, under a progress dialog with «Отмена». On a data folder the
// report is read on a connection of its own, beside the window; LibreOffice always converts beside
// it. Returns the saved file; the caller opens it and says where it went. Failures and a cancel
// throw (KorvanError, Abort).
QString runReportExport(QWidget *parent, TDataModule1 &data, WordApplication &word, bool allVariants, bool pdf);

} // namespace korvan
