#include "gui/dialogs/HelpWindow.h"

#include "core/Version.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

static void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace korvan {

HelpWindow *HelpWindow::instance()
{
    static QPointer<HelpWindow> window;
    if (!window)
        window = new HelpWindow;
    return window;
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window), m_browser(new QTextBrowser(this))
{
    initHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral(KORVAN_TITLE " — справка"));
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({QStringLiteral(":/help")});

    auto *bar = new QHBoxLayout;
    auto addButton = [&](const char *name, QStyle::StandardPixmap icon, const QString &tip, auto slot) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    auto *back = addButton("btnBack", QStyle::SP_ArrowBack, QStringLiteral("Назад"), [this] { m_browser->backward(); });
    auto *forward =
        addButton("btnForward", QStyle::SP_ArrowForward, QStringLiteral("Вперед"), [this] { m_browser->forward(); });
    addButton("btnContents", QStyle::SP_DirHomeIcon, QStringLiteral("Содержание"), [this] { showContents(); });
    bar->addStretch();
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_browser);
    resize(760, 620);
    // Esc closes the help, as it closes a dialog.
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    close->setContext(Qt::WindowShortcut);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QUrl HelpWindow::source() const { return m_browser->source(); }

void HelpWindow::followModalDialog()
{
    // A window of its own is blocked by an open modal dialog (no mouse, no wheel) and the window
    // manager stacks it under the main window; a window the dialog owns stays above the dialog
    // and takes input while the dialog is open.
    QWidget *owner = QApplication::activeModalWidget();
    if (owner == parentWidget())
        return;
    const QRect frame = geometry();
    const bool placed = isVisible();
    if (QWidget *previous = parentWidget())
        previous->removeEventFilter(this);
    setParent(owner, Qt::Window);
    if (owner)
        owner->installEventFilter(this);
    if (placed)
        setGeometry(frame);
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The dialog closes: the help closes with it and is the program's own window again.
    if (watched == parentWidget() && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        hide();
        setParent(nullptr, Qt::Window);
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::showPage(const QString &page)
{
    const QUrl url(QStringLiteral("qrc:/help/") + page);
    if (m_browser->source() != url)
        m_browser->setSource(url);
    followModalDialog();
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContents() { showPage(QStringLiteral("index.html")); }

void HelpWindow::showTopic(int context)
{
    const QString page = QStringLiteral("%1.html").arg(context);
    // A context number without a page of its own opens the contents.
    showPage(QFile::exists(QStringLiteral(":/help/") + page) ? page : QStringLiteral("index.html"));
}

void showHelpTopic(int context) { HelpWindow::instance()->showTopic(context); }

void showHelpContents() { HelpWindow::instance()->showContents(); }

} // namespace korvan
