#pragma once

#include <QDateTime>
#include <QString>

namespace korvan {

// Document.BuiltInDocumentProperties: what a word processor shows as the document's title, author
// and date of creation. Empty or invalid values are left out of the file.
struct DocumentProperties {
    QString title;
    QString author;
    QDateTime created;
};

} // namespace korvan
