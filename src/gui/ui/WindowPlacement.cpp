#include "gui/ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace korvan {

namespace {

const char PlacedProperty[] = "korvanPlaced";

bool isPlacedWindow(const QWidget *w)
{
    if (!w->isWindow())
        return false;
    const Qt::WindowType type = w->windowType();
    // Menus, tool tips and splash screens place themselves.
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

void WindowPlacement::install()
{
    static WindowPlacement *filter = nullptr;
    if (!filter)
        qApp->installEventFilter(filter = new WindowPlacement(qApp));
}

QRect WindowPlacement::availableArea(const QWidget *window)
{
    const QWidget *anchor = window->parentWidget() ? window->parentWidget()->window() : window;
    QScreen *screen = anchor->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize WindowPlacement::frameAllowance(const QWidget *window)
{
    // The title bar and the borders a window manager adds around the window, at least as much as
    // the usual ones take.
    return {8, qMax(30, window->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8)};
}

void WindowPlacement::place(QWidget *window, const QRect &available)
{
    if (available.isEmpty())
        return;
    const QSize frameSize = frameAllowance(window);
    const QSize room = available.size() - frameSize;
    QSize size = window->size().boundedTo(room);
    // A window that cannot be made that small keeps its minimum (the layouts keep it below the
    // smallest screen the program supports).
    size = size.expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    QRect frame(QPoint(0, 0), size + frameSize);
    frame.moveCenter(available.center());
    frame.moveTopLeft(QPoint(qMax(frame.left(), available.left()), qMax(frame.top(), available.top())));
    window->move(frame.topLeft());
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        // The first showing only: after that the window is where the user put it.
        if (isPlacedWindow(w) && !w->property(PlacedProperty).toBool() && !w->isMaximized() && !w->isFullScreen()) {
            w->setProperty(PlacedProperty, true);
            place(w, availableArea(w));
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace korvan
