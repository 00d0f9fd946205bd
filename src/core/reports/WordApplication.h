#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

namespace korvan {

class WordDocument;

// Takes the place of Word for the exports: it keeps the document of the last export of this run,
// so a report "into the current document" is appended to it, and on disconnect saves the document
// and hands it to the desktop (DocumentOpener), as Word would stay open with it.
//
// Documents go to the user's documents folder, subfolder "Korvan Vkp", named after the project
// with the date and time of the export; a new document never overwrites another file, and the
// same document is saved again to its own file.
class WordApplication {
public:
    WordApplication();
    ~WordApplication();
    WordApplication(const WordApplication &) = delete;
    WordApplication &operator=(const WordApplication &) = delete;

    // Connecting needs nothing: the document model is always there.
    void connect() { m_connected = true; }
    bool connected() const { return m_connected; }

    // Documents.Count: 1 once an export of this run made a document, else 0.
    int documentsCount() const { return m_document ? 1 : 0; }
    // Documents.Add: a new blank document becomes the active one; the previous one stays in its file.
    WordDocument &addDocument();
    // ActiveDocument; a KorvanError when there is none.
    WordDocument &activeDocument();
    // The file the active document was last saved to; empty before its first save.
    QString documentPath() const { return m_path; }

    // What a new document's file is named after (the project's name).
    void setDocumentTitle(const QString &title) { m_title = title; }
    // The folder of new documents; by default the documents folder's "Korvan Vkp".
    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const;
    // The command-line program names the file itself: it is saved there and not opened.
    void setTargetFile(const QString &path);
    // Off: a saved document is not handed to the desktop; the caller opens it and says where it
    // went (an export run beside the window, whose thread may not start programs or ask the user).
    void setOpening(bool on) { m_opening = on; }
    // The moment a new file name carries; the current time when not set (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

    // Saves the active document and, unless it has a target file, opens it with the installed
    // DocumentOpener; when that cannot, tells the user where the file is. A failed export is
    // neither saved nor opened, and its document is dropped: a reader must never take a report
    // that stops halfway for a whole one (the caller reports the failure). Failures to save
    // raise a KorvanError after the connection is released.
    void disconnect(bool exportFailed = false);

    // A file name made of the title and the moment, safe for any file system.
    static QString fileNameFor(const QString &title, const QDateTime &moment);
    // A new file of the folder named after the title and the moment, with the extension ("docx",
    // "pdf"); the folder is created when missing. Never the name of an existing file.
    QString newDocumentPath(const QString &extension = QStringLiteral("docx")) const;

private:
    std::unique_ptr<WordDocument> m_document;
    QString m_path;
    QString m_title;
    QString m_folder;
    QString m_targetFile;
    std::function<QDateTime()> m_clock;
    bool m_connected = false;
    bool m_opening = true;
};

} // namespace korvan
