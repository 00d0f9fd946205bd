#include "core/reports/WordApplication.h"
#include "core/reports/word/WordDocument.h"

#include "core/Messages.h"
#include "core/reports/DocumentOpener.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvan {

namespace {

// Longest base name kept: file systems allow 255 bytes, and Cyrillic takes two of them.
constexpr int MaxTitleLength = 80;

QString safeTitle(const QString &title)
{
    QString safe;
    for (const QChar c : title.simplified()) {
        // Characters that Windows, macOS or a shell would trip over, and control characters.
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            safe.append(u'_');
        else
            safe.append(c);
    }
    safe = safe.left(MaxTitleLength).trimmed();
    // No hidden files, and no names Windows would refuse for a trailing dot.
    while (safe.startsWith(u'.'))
        safe.remove(0, 1);
    while (safe.endsWith(u'.') || safe.endsWith(u' '))
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("Отчет") : safe;
}

} // namespace

WordApplication::WordApplication() = default;
WordApplication::~WordApplication() = default;

WordDocument &WordApplication::addDocument()
{
    m_document = std::make_unique<WordDocument>();
    m_path.clear();
    return *m_document;
}

WordDocument &WordApplication::activeDocument()
{
    if (!m_document)
        throw KorvanError(QStringLiteral("Нет открытого документа."));
    return *m_document;
}

QString WordApplication::folder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir(documents).filePath(QStringLiteral("Korvan Vkp"));
}

void WordApplication::setTargetFile(const QString &path)
{
    m_targetFile = path;
    m_path.clear();
}

QString WordApplication::fileNameFor(const QString &title, const QDateTime &moment)
{
    return safeTitle(title) + u' ' + moment.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

QString WordApplication::newDocumentPath(const QString &extension) const
{
    const QString dir = folder();
    if (!QDir().mkpath(dir))
        throw KorvanError(
            QStringLiteral("Не удалось создать папку «%1» для документа.").arg(QDir::toNativeSeparators(dir)));
    const QDateTime moment = now();
    const QString base = QDir(dir).filePath(fileNameFor(m_title, moment));
    QString path = base + u'.' + extension;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral(" (%1).").arg(n) + extension;
    return path;
}

void WordApplication::disconnect(bool exportFailed)
{
    m_connected = false;
    const bool opening = m_targetFile.isEmpty() && m_opening;
    if (exportFailed) {
        m_document.reset();
        m_path.clear();
        return;
    }
    if (!m_document)
        return;
    if (m_path.isEmpty())
        m_path = m_targetFile.isEmpty() ? newDocumentPath() : m_targetFile;
    m_document->save(m_path);
    if (opening && !DocumentOpener::current().open(m_path))
        Messages::information(QStringLiteral("Документ сохранен в файле «%1».\nПрограмма для его просмотра не найдена.")
                                  .arg(QDir::toNativeSeparators(m_path)));
}

} // namespace korvan
