#pragma once

#include "core/reports/word/DocumentProperties.h"
#include "core/reports/word/DocxXml.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <utility>

namespace korvan::docx {

// The fixed parts of a package, and the ones that only list what the others are.
QByteArray relationshipsXml(const QVector<Relationship> &relationships);
// updateFields: the word processor brings the fields (a contents list) up to date on opening.
QByteArray settingsXml(bool updateFields = false);
// docProps/core.xml: title, author and the moment of creation.
QByteArray corePropertiesXml(const DocumentProperties &properties);
QByteArray fontTableXml(const QStringList &fonts);
// Defaults by extension for the pictures, overrides (part name, content type) for the rest.
QByteArray contentTypesXml(const QStringList &pictureExtensions, const QVector<std::pair<QString, QString>> &overrides);

} // namespace korvan::docx
