#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace korvan {

// Every window and dialog opens inside the available area of its parent's screen (the screen
// under the main window), centred there, and no larger than that area, so its buttons are never
// off a small screen. Installed once on the application.
class WindowPlacement : public QObject {
public:
    using QObject::QObject;

    static void install();

    // Fits and centres a window in an area (a screen's available geometry).
    static void place(QWidget *window, const QRect &available);
    // What a window manager adds around a window: its title bar and frame.
    static QSize frameAllowance(const QWidget *window);
    // The available area of the screen a window belongs with: its parent's, else its own.
    static QRect availableArea(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace korvan
