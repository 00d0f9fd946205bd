#include "core/ProgressControl.h"

#include "core/Messages.h"

#include <QMutexLocker>

namespace korvan {

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler sets the cancel request");

ProgressControl::ProgressControl(QString cancelMessage) : m_cancelMessage(std::move(cancelMessage)) {}

void ProgressControl::setStep(const QString &step)
{
    const QMutexLocker lock(&m_mutex);
    m_step = step;
}

QString ProgressControl::step() const
{
    const QMutexLocker lock(&m_mutex);
    return m_step;
}

void ProgressControl::report(int value, int maximum)
{
    m_maximum.store(maximum);
    m_value.store(value);
    throwIfCancelled();
}

Progress ProgressControl::progress(Progress observer)
{
    return [this, observer = std::move(observer)](int value, int maximum) {
        report(value, maximum);
        if (observer)
            observer(value, maximum);
    };
}

void ProgressControl::throwIfCancelled() const
{
    if (!m_cancelled.load())
        return;
    if (m_cancelMessage.isEmpty())
        throw Abort();
    throw KorvanError(m_cancelMessage);
}

void ProgressControl::reset()
{
    m_cancelled.store(false);
    m_value.store(0);
    m_maximum.store(0);
    setStep(QString());
}

} // namespace korvan
