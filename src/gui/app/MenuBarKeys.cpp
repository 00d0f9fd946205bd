#include "gui/app/MenuBarKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

namespace korvan {

MenuBarKeys::MenuBarKeys(QMainWindow *window) : QObject(window), m_window(window)
{
    auto *f10 = new QAction(window);
    f10->setObjectName(QStringLiteral("actMenuBar"));
    f10->setShortcut(QKeySequence(Qt::Key_F10));
    connect(f10, &QAction::triggered, this, &MenuBarKeys::openMenuBar);
    window->addAction(f10);
    qApp->installEventFilter(this);
}

void MenuBarKeys::openMenuBar()
{
    QMenuBar *bar = m_window->menuBar();
    for (QAction *a : bar->actions())
        if (a->isVisible() && a->isEnabled()) {
            bar->setActiveAction(a);
            return;
        }
}

bool MenuBarKeys::eventFilter(QObject *watched, QEvent *event)
{
    // Only the window's own keys: not those of its dialogs, nor those of an open menu.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window && !QApplication::activePopupWidget() &&
        !QApplication::activeModalWidget()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyPress)
            // The press of Alt itself comes with or without the Alt modifier, as the platform has it.
            m_altAlone = key->key() == Qt::Key_Alt && (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier &&
                         !key->isAutoRepeat();
        else if (key->key() == Qt::Key_Alt && m_altAlone) {
            m_altAlone = false;
            openMenuBar();
        }
    } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusOut) {
        m_altAlone = false;
    }
    return false;
}

} // namespace korvan
