#pragma once

#include "core/Progress.h"

#include <QMutex>
#include <QString>
#include <atomic>

namespace korvan {

// The advance and the stop request of one long command, shared by the thread that does the work
// and the one that shows it (the window's progress dialog, the command-line program's Ctrl+C).
// The work reports through progress() and setStep(); a cancel request makes its next report throw,
// so the command's transaction is rolled back as for any failure.
class ProgressControl {
public:
    // A cancelled command throws Abort (the window asked, it needs no message) unless a message is
    // set, which a KorvanError then carries (the command-line program says why it stopped).
    explicit ProgressControl(QString cancelMessage = QString());

    void setStep(const QString &step);
    QString step() const;

    // A step of the work: throws once a cancel was requested.
    void report(int value, int maximum);
    int value() const { return m_value.load(); }
    int maximum() const { return m_maximum.load(); }
    // A Progress that reports here and then to the observer (a bar, a terminal line), if any.
    Progress progress(Progress observer = {});

    // Safe from a signal handler and from any thread.
    void cancel() noexcept { m_cancelled.store(true); }
    bool cancelRequested() const noexcept { return m_cancelled.load(); }
    void throwIfCancelled() const;
    // Ready for the next command.
    void reset();

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_value{0};
    std::atomic<int> m_maximum{0};
    mutable QMutex m_mutex;
    QString m_step;
    const QString m_cancelMessage;
};

} // namespace korvan
