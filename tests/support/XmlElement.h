#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace korvan::test {

// A parsed XML element with qualified names as written ("w:p", "r:id"), for checking the parts
// of a saved document.
struct XmlElement {
    QString name;
    QMap<QString, QString> attributes;
    QList<XmlElement> children;
    QString text; // character data directly inside

    // Parses a document; on a syntax error returns an element named "#error" whose text is the
    // parser's message.
    static XmlElement parse(const QByteArray &xml);
    bool isError() const { return name == QLatin1String("#error"); }

    QString attribute(const QString &qualifiedName) const { return attributes.value(qualifiedName); }
    bool hasAttribute(const QString &qualifiedName) const { return attributes.contains(qualifiedName); }
    // The first child of that name, or nullptr.
    const XmlElement *child(const QString &childName) const;
    QList<const XmlElement *> childrenNamed(const QString &childName) const;
    QStringList childNames() const;
    // Every element of that name below this one, in document order.
    QList<const XmlElement *> descendants(const QString &descendantName) const;
};

// A document, header or footer part with the run properties its paragraphs and runs take from
// their named styles (styles.xml) written into them, as if the document had no styles: a paragraph's
// pPr gets its style's rPr, a run without properties its paragraph's, a run with a character style
// that style's. Attributes a style turns off explicitly (w:b w:val="0", baseline) are left out.
XmlElement withStylesInlined(const XmlElement &part, const XmlElement &styles);

} // namespace korvan::test
