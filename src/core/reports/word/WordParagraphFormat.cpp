#include "core/reports/word/WordParagraphFormat.h"

#include "core/Messages.h"
#include "core/reports/word/WordSelection.h"

namespace korvan {

void WordParagraphFormat::setAlignment(WdParagraphAlignment alignment)
{
    switch (alignment) {
    case wdAlignParagraphLeft:
    case wdAlignParagraphCenter:
    case wdAlignParagraphRight:
    case wdAlignParagraphJustify:
        m_selection->setAlignment(alignment);
        return;
    }
    throw KorvanError(QStringLiteral("Неизвестное выравнивание абзаца: %1.").arg(int(alignment)));
}

void WordParagraphFormat::setKeepWithNext(bool keep) { m_selection->setKeepWithNext(keep); }

void WordParagraphFormat::setOutlineLevel(int level) { m_selection->setOutlineLevel(level); }

} // namespace korvan
