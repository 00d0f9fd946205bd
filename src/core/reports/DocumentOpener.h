#pragma once

#include <QString>

namespace korvan {

// Opens a saved document with the desktop's application for it. The program installs one that
// asks the desktop; the default opens nothing, so tests and the command-line program never start
// a word processor.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when no application could open the file.
    virtual bool open(const QString &path) = 0;

    // The opener in use; never null.
    static DocumentOpener &current();
    // Installs an opener and returns the previous one; nullptr restores the default.
    static DocumentOpener *install(DocumentOpener *opener);
};

} // namespace korvan
