#pragma once

#include "core/reports/DocumentOpener.h"

namespace korvan {

// Opens a saved document as the desktop does (xdg-open and the file association), falling back
// to LibreOffice when xdg-open is missing or fails: an engineer's machine without a desktop
// environment often has no association for .docx but has LibreOffice.
class DesktopOpener : public DocumentOpener {
public:
    bool open(const QString &path) override;

    // How long xdg-open may take to report a failure. It hands the file over and ends, or, on a
    // bare window manager, runs the application itself for as long as the document is open.
    static constexpr int FailureWaitMs = 2000;

    // Starts LibreOffice with the document; false when it is not installed or does not start.
    static bool openWithLibreOffice(const QString &path);
};

} // namespace korvan
