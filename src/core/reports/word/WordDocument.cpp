#include "core/reports/word/WordDocument.h"

#include "core/Messages.h"
#include "core/reports/word/DocxWriter.h"

namespace korvan {

WordDocument::WordDocument() : m_selection(*this) {}

void WordDocument::seekView(WdSeekView view)
{
    switch (view) {
    case wdSeekMainDocument:
    case wdSeekCurrentPageHeader:
    case wdSeekCurrentPageFooter:
        m_selection.seek(&story(view));
        return;
    }
    throw KorvanError(QStringLiteral("Неизвестная область документа: %1.").arg(int(view)));
}

WordStory &WordDocument::story(WdSeekView view) { return const_cast<WordStory &>(std::as_const(*this).story(view)); }

const WordStory &WordDocument::story(WdSeekView view) const
{
    switch (view) {
    case wdSeekCurrentPageHeader:
        return m_header;
    case wdSeekCurrentPageFooter:
        return m_footer;
    case wdSeekMainDocument:
        break;
    }
    return m_main;
}

int WordDocument::addPicture(WordPicture picture)
{
    picture.fitInto(qint64(m_pageSetup.textWidth() * WordPicture::EmuPerPoint),
                    qint64(m_pageSetup.textHeight() * WordPicture::EmuPerPoint));
    m_pictures.append(std::move(picture));
    return int(m_pictures.size()) - 1;
}

void WordDocument::save(const QString &path) const { DocxWriter(*this).save(path); }

} // namespace korvan
