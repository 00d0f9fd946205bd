#pragma once

#include "core/ProgressControl.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

class QProgressDialog;
class QTimer;
class QWidget;

namespace korvan {

// A long command run while a modal dialog shows its step and advance and offers «Отмена». Work
// that touches no window's objects runs on a thread of its own (beside()), so the window keeps
// repainting; work on the window's own cursors runs here and lets the window repaint at each of
// its steps (here()). Either way the work's exception is rethrown to the caller, and «Отмена»
// (or Esc) makes the work's next step throw: a command's transaction is rolled back.
class LongWork {
public:
    LongWork(QWidget *parent, const QString &title);
    ~LongWork();
    LongWork(const LongWork &) = delete;
    LongWork &operator=(const LongWork &) = delete;

    ProgressControl &control() { return m_control; }
    // A Progress for work run here: it reports to the control and repaints; the dialog shows
    // once the work has taken ShowAfterMs.
    Progress progress();
    static constexpr int ShowAfterMs = 400;

    void beside(const std::function<void()> &work);
    void here(const std::function<void()> &work);

    // The dialog while the work runs (tests), else null.
    static QProgressDialog *runningDialog();

private:
    void open();
    void show();
    void refresh();
    void close();

    ProgressControl m_control;
    QPointer<QWidget> m_parent;
    QString m_title;
    QProgressDialog *m_dialog = nullptr;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_started;
};

} // namespace korvan
