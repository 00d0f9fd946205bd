#include "gui/widgets/LongWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <exception>

namespace korvan {

namespace {

QPointer<QProgressDialog> running;

} // namespace

LongWork::LongWork(QWidget *parent, const QString &title) : m_parent(parent), m_title(title) {}

LongWork::~LongWork() { close(); }

QProgressDialog *LongWork::runningDialog() { return running; }

void LongWork::open()
{
    if (m_dialog)
        return;
    m_dialog = new QProgressDialog(m_parent);
    m_dialog->setObjectName(QStringLiteral("LongWorkDialog"));
    m_dialog->setWindowTitle(m_title);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(460);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), m_dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    m_dialog->setCancelButton(cancel);
    m_dialog->setRange(0, 100);
    m_dialog->setValue(0);
    m_dialog->setLabelText(QStringLiteral("Подготовка..."));
    QObject::connect(m_dialog, &QProgressDialog::canceled, m_dialog, [this] {
        m_control.cancel();
        m_dialog->setLabelText(QStringLiteral("Отмена: работа останавливается..."));
        if (QPushButton *b = m_dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")))
            b->setEnabled(false);
    });
    m_timer = new QTimer(m_dialog);
    QObject::connect(m_timer, &QTimer::timeout, m_dialog, [this] { refresh(); });
    m_timer->start(100);
    running = m_dialog;
}

void LongWork::show()
{
    if (m_dialog && !m_dialog->isVisible()) {
        refresh();
        m_dialog->show();
    }
}

void LongWork::refresh()
{
    if (!m_dialog || m_control.cancelRequested())
        return;
    const QString step = m_control.step();
    if (!step.isEmpty() && m_dialog->labelText() != step)
        m_dialog->setLabelText(step);
    const int maximum = m_control.maximum();
    if (maximum > 0) {
        if (m_dialog->maximum() != maximum)
            m_dialog->setRange(0, maximum);
        m_dialog->setValue(qBound(0, m_control.value(), maximum));
    }
}

void LongWork::close()
{
    if (!m_dialog)
        return;
    m_timer->stop();
    m_dialog->hide();
    m_dialog->deleteLater();
    m_dialog = nullptr;
    running = nullptr;
    m_timer = nullptr;
}

Progress LongWork::progress()
{
    return m_control.progress([this](int, int) {
        // Work that ends within a moment shows no dialog; longer work shows it from then on.
        if (m_dialog && !m_dialog->isVisible() && m_started.elapsed() >= ShowAfterMs)
            show();
        refresh();
        // While the modal dialog shows, only it takes the user's input (its «Отмена»); before
        // that the window only repaints.
        QApplication::processEvents(m_dialog && m_dialog->isVisible() ? QEventLoop::AllEvents
                                                                      : QEventLoop::ExcludeUserInputEvents);
        m_control.throwIfCancelled();
    });
}

void LongWork::beside(const std::function<void()> &work)
{
    m_control.throwIfCancelled();
    open();
    // The window's input goes nowhere while the work runs: the modal dialog takes it at once.
    show();
    std::exception_ptr failure;
    QEventLoop loop;
    QThread *thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    refresh();
    if (failure)
        std::rethrow_exception(failure);
}

void LongWork::here(const std::function<void()> &work)
{
    m_control.throwIfCancelled();
    open();
    m_started.start();
    work();
}

} // namespace korvan
