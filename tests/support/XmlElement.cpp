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

namespace {

using StyleMap = QMap<QString, XmlElement>; // style id -> its rPr, attributes switched off removed
const QString DefaultParagraph = QStringLiteral("#default");

StyleMap runStyles(const XmlElement &styles)
{
    StyleMap map;
    for (const XmlElement *style : styles.childrenNamed(QStringLiteral("w:style"))) {
        const bool isDefault = style->attribute(QStringLiteral("w:type")) == QLatin1String("paragraph") &&
                               style->attribute(QStringLiteral("w:default")) == QLatin1String("1");
        const XmlElement *rPr = style->child(QStringLiteral("w:rPr"));
        if (!rPr)
            continue;
        // The style's alignment rides along in the map as a child named "#jc".
        const XmlElement *pPr = style->child(QStringLiteral("w:pPr"));
        const XmlElement *jc = pPr ? pPr->child(QStringLiteral("w:jc")) : nullptr;
        XmlElement cleaned = *rPr;
        cleaned.children.clear();
        for (const XmlElement &c : rPr->children) {
            const QString value = c.attribute(QStringLiteral("w:val"));
            if (value == QLatin1String("0") && (c.name == QLatin1String("w:b") || c.name == QLatin1String("w:i")))
                continue;
            if (c.name == QLatin1String("w:vertAlign") && value == QLatin1String("baseline"))
                continue;
            cleaned.children.append(c);
        }
        if (jc && jc->attribute(QStringLiteral("w:val")) != QLatin1String("left")) {
            XmlElement alignment = *jc;
            alignment.name = QStringLiteral("#jc");
            cleaned.children.append(alignment);
        }
        map.insert(style->attribute(QStringLiteral("w:styleId")), cleaned);
        if (isDefault)
            map.insert(DefaultParagraph, cleaned);
    }
    return map;
}

void inlineInto(XmlElement &e, const StyleMap &styles, const XmlElement *paragraphRun)
{
    if (e.name == QLatin1String("w:p")) {
        // A paragraph without a style has the default one.
        if (!e.child(QStringLiteral("w:pPr"))) {
            XmlElement pPr;
            pPr.name = QStringLiteral("w:pPr");
            e.children.prepend(pPr);
        }
        const XmlElement *own = nullptr;
        for (XmlElement &c : e.children) {
            if (c.name != QLatin1String("w:pPr"))
                continue;
            const XmlElement *ps = c.child(QStringLiteral("w:pStyle"));
            const auto found = styles.constFind(ps ? ps->attribute(QStringLiteral("w:val")) : DefaultParagraph);
            if (found != styles.cend()) {
                own = &found.value();
                XmlElement rPr = *own;
                rPr.children.removeIf([](const XmlElement &x) { return x.name == QLatin1String("#jc"); });
                if (const XmlElement *jc = own->child(QStringLiteral("#jc")); jc && !c.child(QStringLiteral("w:jc"))) {
                    XmlElement alignment = *jc;
                    alignment.name = QStringLiteral("w:jc");
                    c.children.append(alignment);
                }
                if (!c.child(QStringLiteral("w:rPr")))
                    c.children.append(rPr);
            }
        }
        for (XmlElement &c : e.children)
            inlineInto(c, styles, own);
        return;
    }
    if (e.name == QLatin1String("w:r")) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < e.children.size(); ++i) {
            if (e.children[i].name == QLatin1String("w:rPr"))
                at = i;
        }
        if (at < 0) {
            if (paragraphRun) {
                XmlElement rPr = *paragraphRun;
                rPr.children.removeIf([](const XmlElement &x) { return x.name == QLatin1String("#jc"); });
                e.children.prepend(rPr);
            }
        } else if (const XmlElement *rs = e.children[at].child(QStringLiteral("w:rStyle"))) {
            const auto found = styles.constFind(rs->attribute(QStringLiteral("w:val")));
            if (found != styles.cend())
                e.children[at] = found.value();
        }
        return;
    }
    for (XmlElement &c : e.children)
        inlineInto(c, styles, paragraphRun);
}

} // namespace

XmlElement withStylesInlined(const XmlElement &part, const XmlElement &styles)
{
    XmlElement result = part;
    inlineInto(result, runStyles(styles), nullptr);
    return result;
}

} // namespace korvan::test
