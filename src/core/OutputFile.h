#pragma once

#include <QByteArray>
#include <QString>

namespace korvan {

// A file the user names for an output (a report, a PDF, a picture) is theirs: it is written only
// when it does not exist yet or is a regular file, a symbolic link counting as the file it points
// to. A pipe, a device, a folder or a link to nothing is refused before any work starts, with a
// message naming it, and left as it was.
void checkOutputFile(const QString &path);

// Writes the whole output at once: into a temporary file beside it, renamed over the target only
// once every byte is on disk, so a failure leaves the old file as it was. Checks the target again.
void writeOutputFile(const QString &path, const QByteArray &bytes);

} // namespace korvan
