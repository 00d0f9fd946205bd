#include "gui/ui/CommandGuard.h"

#include "core/Messages.h"

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

void Hourglass::show(bool on)
{
    if (on == m_shown)
        return;
    m_shown = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool runBusy(const std::function<void()> &command, const std::function<void()> &cleanup)
{
    Hourglass hourglass;
    hourglass.show(true);
    return runGuarded(command, [&] {
        hourglass.show(false);
        if (cleanup)
            cleanup();
    });
}

} // namespace korvan
