#pragma once

#include "core/reports/DocumentOpener.h"

#include <QString>

class QWidget;

namespace korvan {

// Opens a document with the desktop's application for its kind, or with LibreOffice when the
// desktop has none; false when neither could be started. Nothing waits for the application.
bool openWithDesktop(const QString &path);
// Opens the folder that holds a file.
bool openContainingFolder(const QString &path);

// The window program's opener of written documents.
class DesktopServicesOpener : public DocumentOpener {
public:
    bool open(const QString &path) override { return openWithDesktop(path); }
};

// Says where an export went: «Сохранено: ‹путь›» in the window's status bar (when it has one) and
// in a notice beside it with «Открыть» and «Открыть папку», which does not block the window and
// stays until closed or replaced by the next one.
void announceSaved(QWidget *window, const QString &path);

} // namespace korvan
