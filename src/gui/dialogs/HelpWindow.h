#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace korvan {

// The help system: one window over the help pages, opened at the contents or at a window's
// context number. One window for the whole run; every help button reuses it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static HelpWindow *instance();

    void showContents();
    void showTopic(int context);

    QTextBrowser *browser() const { return m_browser; }
    // The page shown, as its address (qrc:/help/2.html).
    QUrl source() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpWindow();
    void showPage(const QString &page);
    // Help asked for from a modal dialog belongs to that dialog: above it and not blocked by it.
    void followModalDialog();

    QTextBrowser *m_browser;
};

// Opens the help at a context number (help buttons) or at its contents (the help command).
void showHelpTopic(int context);
void showHelpContents();

} // namespace korvan
