#pragma once

#include "core/Messages.h"
#include "core/reports/word/CharacterFormat.h"
#include "core/reports/WordConstants.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <cmath>
#include <initializer_list>
#include <utility>

// Shared pieces of the .docx writer: namespaces, relationship and content types, and a few
// QXmlStreamWriter shorthands.
namespace korvan::docx {

inline const QString NsW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
inline const QString NsR = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
inline const QString NsWp = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
inline const QString NsA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
inline const QString NsPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
inline const QString NsPackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
inline const QString NsContentTypes = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");

inline const QString RelOfficeDocument = NsR + QStringLiteral("/officeDocument");
inline const QString RelCoreProperties =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties");
inline const QString RelStyles = NsR + QStringLiteral("/styles");
inline const QString RelSettings = NsR + QStringLiteral("/settings");
inline const QString RelFontTable = NsR + QStringLiteral("/fontTable");
inline const QString RelHeader = NsR + QStringLiteral("/header");
inline const QString RelFooter = NsR + QStringLiteral("/footer");
inline const QString RelImage = NsR + QStringLiteral("/image");

inline const QString TypeWml = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

// Left and right cell margin: 1 mm, half of Word's default, so the wide tables of the reports
// (up to 18 columns) fit a portrait page without breaking numbers.
inline constexpr int CellMarginTwips = 57;

struct Relationship {
    QString id;
    QString type;
    QString target;
};

using Attributes = std::initializer_list<std::pair<QString, QString>>;

inline void empty(QXmlStreamWriter &xml, const QString &name, Attributes attributes = {})
{
    xml.writeEmptyElement(name);
    for (const auto &[key, value] : attributes)
        xml.writeAttribute(key, value);
}

inline void start(QXmlStreamWriter &xml, const QString &name, Attributes attributes = {})
{
    xml.writeStartElement(name);
    for (const auto &[key, value] : attributes)
        xml.writeAttribute(key, value);
}

inline QString number(qint64 value) { return QString::number(value); }

inline int twips(double points) { return int(std::lround(points * 20.0)); }

// The "jc" value of an alignment; empty for left, the default.
inline QString alignmentValue(WdParagraphAlignment alignment)
{
    switch (alignment) {
    case wdAlignParagraphCenter:
        return QStringLiteral("center");
    case wdAlignParagraphRight:
        return QStringLiteral("right");
    case wdAlignParagraphJustify:
        return QStringLiteral("both");
    case wdAlignParagraphLeft:
        break;
    }
    return QString();
}

// rPr in the order the schema fixes, which Word insists on. With explicitOff, attributes that are
// off are written too, so that the properties override whatever they are laid over.
inline void writeRunProperties(QXmlStreamWriter &xml, const CharacterFormat &f, bool explicitOff = false)
{
    const QString off = QStringLiteral("0");
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:rFonts"),
          {{QStringLiteral("w:ascii"), f.name}, {QStringLiteral("w:hAnsi"), f.name}, {QStringLiteral("w:cs"), f.name}});
    if (f.bold)
        empty(xml, QStringLiteral("w:b"));
    else if (explicitOff)
        empty(xml, QStringLiteral("w:b"), {{QStringLiteral("w:val"), off}});
    if (f.italic)
        empty(xml, QStringLiteral("w:i"));
    else if (explicitOff)
        empty(xml, QStringLiteral("w:i"), {{QStringLiteral("w:val"), off}});
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    empty(xml, QStringLiteral("w:szCs"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    if (f.position != VerticalPosition::Baseline || explicitOff)
        empty(xml, QStringLiteral("w:vertAlign"),
              {{QStringLiteral("w:val"), f.position == VerticalPosition::Superscript ? QStringLiteral("superscript")
                                         : f.position == VerticalPosition::Subscript ? QStringLiteral("subscript")
                                                                                     : QStringLiteral("baseline")}});
    xml.writeEndElement();
}

// The XML declaration and a part's root element with the namespaces its content uses.
inline void startPart(QXmlStreamWriter &xml, const QString &root)
{
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    start(xml, root);
    xml.writeNamespace(NsW, QStringLiteral("w"));
    xml.writeNamespace(NsR, QStringLiteral("r"));
    xml.writeNamespace(NsWp, QStringLiteral("wp"));
}

inline QByteArray finishPart(QXmlStreamWriter &xml, QByteArray &bytes, const QString &name)
{
    xml.writeEndDocument();
    if (xml.hasError())
        throw KorvanError(QStringLiteral("Не удалось сформировать часть документа \"%1\".").arg(name));
    return bytes;
}

} // namespace korvan::docx
