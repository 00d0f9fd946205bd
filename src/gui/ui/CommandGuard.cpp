#include "CommandGuard.h"

#include "Messages.h"

#include <QApplication>
#include <QString>
#include <exception>

namespace korvan {

bool runGuarded(const std::function<void()> &command, const std::function<void()> &cleanup)
{
    QString failure;
    bool done = false;
    try {
        command();
        done = true;
    } catch (const Abort &) {
    } catch (const KorvanError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (cleanup)
        cleanup();
    if (!failure.isEmpty())
        Messages::error(failure);
    return done;
}

bool runGuarded(const std::function<void()> &command) { return runGuarded(command, {}); }

bool runBusy(const std::function<void()> &command, const std::function<void()> &cleanup)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return runGuarded(command, [&cleanup] {
        QApplication::restoreOverrideCursor();
        if (cleanup)
            cleanup();
    });
}

} // namespace korvan
