#include "core/reports/word/WordFont.h"

#include "core/Messages.h"
#include "core/reports/word/WordSelection.h"

#include <cmath>

namespace korvan {

void WordFont::setName(const QString &name)
{
    QString clean;
    for (const QChar c : name) {
        if (c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF)
            clean.append(c);
    }
    clean = clean.trimmed();
    if (clean.isEmpty())
        throw KorvanError(QStringLiteral("Не задано имя шрифта."));
    m_selection->changeFormat([&clean](CharacterFormat &f) { f.name = clean; });
}

void WordFont::setSize(double points)
{
    if (!std::isfinite(points) || points < 1.0 || points > 1638.0)
        throw KorvanError(QStringLiteral("Недопустимый размер шрифта: %1.").arg(points));
    const int halfPoints = int(std::lround(points * 2.0));
    m_selection->changeFormat([halfPoints](CharacterFormat &f) { f.halfPoints = halfPoints; });
}

void WordFont::setBold(bool on)
{
    m_selection->changeFormat([on](CharacterFormat &f) { f.bold = on; });
}

void WordFont::setItalic(bool on)
{
    m_selection->changeFormat([on](CharacterFormat &f) { f.italic = on; });
}

void WordFont::setSubscript(bool on)
{
    m_selection->changeFormat([on](CharacterFormat &f) {
        if (on)
            f.position = VerticalPosition::Subscript;
        else if (f.position == VerticalPosition::Subscript)
            f.position = VerticalPosition::Baseline;
    });
}

void WordFont::setSuperscript(bool on)
{
    m_selection->changeFormat([on](CharacterFormat &f) {
        if (on)
            f.position = VerticalPosition::Superscript;
        else if (f.position == VerticalPosition::Superscript)
            f.position = VerticalPosition::Baseline;
    });
}

} // namespace korvan
