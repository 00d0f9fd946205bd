#include "core/reports/DesktopOpener.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace korvan {

namespace {

// True when xdg-open took the file: it ended well, or it is still running the application.
bool openedByDesktop(const QString &path)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty())
        return false;
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProgram(xdgOpen);
    process->setArguments({path});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (!process->waitForFinished(DesktopOpener::FailureWaitMs)) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return ok;
}

} // namespace

bool DesktopOpener::openWithLibreOffice(const QString &path)
{
    for (const char *name : {"libreoffice", "soffice"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty() && QProcess::startDetached(program, {path}))
            return true;
    }
    return false;
}

bool DesktopOpener::open(const QString &path) { return openedByDesktop(path) || openWithLibreOffice(path); }

} // namespace korvan
