#include "XmlElement.h"

#include <QXmlStreamReader>

namespace korvan::test {

XmlElement XmlElement::parse(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    QList<XmlElement> stack;
    XmlElement root;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            XmlElement element;
            element.name = reader.qualifiedName().toString();
            for (const QXmlStreamAttribute &a : reader.attributes())
                element.attributes.insert(a.qualifiedName().toString(), a.value().toString());
            stack.append(element);
        } else if (reader.isEndElement()) {
            XmlElement done = stack.takeLast();
            if (stack.isEmpty())
                root = done;
            else
                stack.last().children.append(done);
        } else if (reader.isCharacters() && !stack.isEmpty()) {
            stack.last().text += reader.text();
        }
    }
    if (reader.hasError() || root.name.isEmpty()) {
        XmlElement error;
        error.name = QStringLiteral("#error");
        error.text = reader.errorString();
        return error;
    }
    return root;
}

const XmlElement *XmlElement::child(const QString &childName) const
{
    for (const XmlElement &c : children) {
        if (c.name == childName)
            return &c;
    }
    return nullptr;
}

QList<const XmlElement *> XmlElement::childrenNamed(const QString &childName) const
{
    QList<const XmlElement *> result;
    for (const XmlElement &c : children) {
        if (c.name == childName)
            result << &c;
    }
    return result;
}

QStringList XmlElement::childNames() const
{
    QStringList result;
    for (const XmlElement &c : children)
        result << c.name;
    return result;
}

QList<const XmlElement *> XmlElement::descendants(const QString &descendantName) const
{
    QList<const XmlElement *> result;
    for (const XmlElement &c : children) {
        if (c.name == descendantName)
            result << &c;
        result << c.descendants(descendantName);
    }
    return result;
}

} // namespace korvan::test
