#pragma once

#include <QObject>

class QMainWindow;

namespace korvan {

// The keyboard's way into a window's menu bar where the style gives none: F10, or Alt pressed and
// released alone, opens the first menu; the arrows, the mnemonics and Esc take it from there.
class MenuBarKeys : public QObject {
    Q_OBJECT
public:
    explicit MenuBarKeys(QMainWindow *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openMenuBar();

    QMainWindow *m_window;
    bool m_altAlone = false;
};

} // namespace korvan
