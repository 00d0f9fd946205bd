#pragma once

#include "core/reports/word/DocumentProperties.h"
#include "core/reports/word/WordPageSetup.h"
#include "core/reports/word/WordPicture.h"
#include "core/reports/word/WordSelection.h"
#include "core/reports/word/WordStory.h"
#include "core/reports/WordConstants.h"

#include <QString>
#include <QVector>

namespace korvan {

// A Word document held in memory: the main text, a header and a footer, the page setup, the
// pictures, and the one selection the report code writes through, as in Word's object model.
// save() writes it as a .docx file.
class WordDocument {
public:
    WordDocument();
    WordDocument(const WordDocument &) = delete;
    WordDocument &operator=(const WordDocument &) = delete;

    WordSelection &selection() { return m_selection; }
    const WordSelection &selection() const { return m_selection; }
    WordPageSetup &pageSetup() { return m_pageSetup; }
    const WordPageSetup &pageSetup() const { return m_pageSetup; }

    // ActiveWindow.ActivePane.View.SeekView: moves the selection into the header or the footer
    // (to its start) or back to the main text (to where it was).
    void seekView(WdSeekView view);

    WordStory &story(WdSeekView view);
    const WordStory &story(WdSeekView view) const;

    // Takes a picture into the document, shrunk to fit the page; returns its index.
    int addPicture(WordPicture picture);
    const QVector<WordPicture> &pictures() const { return m_pictures; }

    DocumentProperties &properties() { return m_properties; }
    const DocumentProperties &properties() const { return m_properties; }

    // Writes the document as a .docx file. The file is replaced only once it is completely
    // written; a failure raises a KorvanError naming the file and leaves any earlier file as it was.
    void save(const QString &path) const;

private:
    WordStory m_main;
    WordStory m_header;
    WordStory m_footer;
    WordPageSetup m_pageSetup;
    QVector<WordPicture> m_pictures;
    DocumentProperties m_properties;
    WordSelection m_selection; // last: it refers to the stories
};

} // namespace korvan
