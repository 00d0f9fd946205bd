#pragma once

#include "reports/DocxXml.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <utility>

namespace korvan::docx {

// The fixed parts of a package, and the ones that only list what the others are.
QByteArray relationshipsXml(const QVector<Relationship> &relationships);
// Document defaults (Times New Roman 12, Russian, no spacing between paragraphs) and the default
// paragraph, character and table styles.
QByteArray stylesXml();
QByteArray settingsXml();
QByteArray fontTableXml(const QStringList &fonts);
// Defaults by extension for the pictures, overrides (part name, content type) for the rest.
QByteArray contentTypesXml(const QStringList &pictureExtensions,
                           const QVector<std::pair<QString, QString>> &overrides);

} // namespace korvan::docx
