#include "SavedReport.h"

#include "ZipReader.h"

namespace korvan::test {

namespace {

SavedReport::Run run(const XmlElement &r)
{
    SavedReport::Run result;
    for (const XmlElement &c : r.children) {
        if (c.name == QLatin1String("w:t"))
            result.text += c.text;
        else if (c.name == QLatin1String("w:tab"))
            result.text += u'\t';
    }
    if (const XmlElement *rPr = r.child(QStringLiteral("w:rPr"))) {
        if (const XmlElement *f = rPr->child(QStringLiteral("w:rFonts")))
            result.font = f->attribute(QStringLiteral("w:ascii"));
        if (const XmlElement *sz = rPr->child(QStringLiteral("w:sz")))
            result.halfPoints = sz->attribute(QStringLiteral("w:val")).toInt();
        result.bold = rPr->child(QStringLiteral("w:b")) != nullptr;
        const XmlElement *v = rPr->child(QStringLiteral("w:vertAlign"));
        result.superscript = v && v->attribute(QStringLiteral("w:val")) == QLatin1String("superscript");
    }
    return result;
}

SavedReport::Block paragraph(const XmlElement &p)
{
    SavedReport::Block block;
    for (const XmlElement *r : p.descendants(QStringLiteral("w:r"))) {
        block.runs << run(*r);
        block.text += block.runs.last().text;
    }
    return block;
}

} // namespace

SavedReport::SavedReport(const QString &path)
{
    const ZipReader zip(path);
    if (!zip.isOpen())
        return;
    const XmlElement styles = XmlElement::parse(zip.read(QStringLiteral("word/styles.xml")));
    const XmlElement document =
        withStylesInlined(XmlElement::parse(zip.read(QStringLiteral("word/document.xml"))), styles);
    const XmlElement *b = document.child(QStringLiteral("w:body"));
    if (!b)
        return;
    for (const XmlElement &e : b->children) {
        if (e.name == QLatin1String("w:p")) {
            body << paragraph(e);
        } else if (e.name == QLatin1String("w:tbl")) {
            Block table;
            table.isTable = true;
            for (const XmlElement *tr : e.childrenNamed(QStringLiteral("w:tr"))) {
                QStringList cells;
                for (const XmlElement *tc : tr->childrenNamed(QStringLiteral("w:tc"))) {
                    QStringList texts;
                    for (const XmlElement *p : tc->childrenNamed(QStringLiteral("w:p")))
                        texts << paragraph(*p).text;
                    cells << texts.join(u'\n');
                }
                table.rows << cells;
            }
            const XmlElement *jc = e.descendants(QStringLiteral("w:jc")).value(0);
            table.alignment = jc ? jc->attribute(QStringLiteral("w:val")) : QStringLiteral("left");
            body << table;
        } else if (e.name == QLatin1String("w:sectPr")) {
            sectPr = e;
        }
    }
    if (zip.contains(QStringLiteral("word/header1.xml")))
        header = withStylesInlined(XmlElement::parse(zip.read(QStringLiteral("word/header1.xml"))), styles);
    if (zip.contains(QStringLiteral("word/footer1.xml")))
        footer = withStylesInlined(XmlElement::parse(zip.read(QStringLiteral("word/footer1.xml"))), styles);
    ok = true;
}

QStringList SavedReport::paragraphTexts() const
{
    QStringList texts;
    for (const Block &b : body)
        if (!b.isTable)
            texts << b.text;
    return texts;
}

QList<const SavedReport::Block *> SavedReport::tables() const
{
    QList<const Block *> result;
    for (const Block &b : body)
        if (b.isTable)
            result << &b;
    return result;
}

int SavedReport::find(const QString &prefix, int from) const
{
    for (int i = from; i < body.size(); ++i)
        if (!body[i].isTable && body[i].text.startsWith(prefix))
            return i;
    return -1;
}

const SavedReport::Block *SavedReport::tableAfter(int index) const
{
    for (int i = index + 1; i >= 1 && i < body.size(); ++i)
        if (body[i].isTable)
            return &body[i];
    return nullptr;
}

int SavedReport::pageFields(const XmlElement &part) const
{
    int count = 0;
    for (const XmlElement *f : part.descendants(QStringLiteral("w:fldSimple")))
        if (f->attribute(QStringLiteral("w:instr")).contains(QLatin1String("PAGE")))
            ++count;
    return count;
}

} // namespace korvan::test
