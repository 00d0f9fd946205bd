#include "gui/ui/SavedNotice.h"

#include "core/reports/DesktopOpener.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

namespace korvan {

bool openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) || DesktopOpener::openWithLibreOffice(path);
}

bool openContainingFolder(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void announceSaved(QWidget *window, const QString &path)
{
    const QString text = QStringLiteral("Сохранено: %1").arg(QDir::toNativeSeparators(path));
    QWidget *top = window ? window->window() : nullptr;
    if (auto *main = qobject_cast<QMainWindow *>(top))
        main->statusBar()->showMessage(text);
    else if (top)
        if (auto *main = qobject_cast<QMainWindow *>(top->parentWidget() ? top->parentWidget()->window() : nullptr))
            main->statusBar()->showMessage(text);

    static QPointer<QDialog> notice;
    delete notice;
    notice = new QDialog(top, Qt::Tool);
    notice->setObjectName(QStringLiteral("SavedNotice"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setWindowTitle(QStringLiteral("Экспорт завершен"));
    auto *layout = new QVBoxLayout(notice);
    auto *label = new QLabel(text, notice);
    label->setObjectName(QStringLiteral("lblSaved"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    auto *buttons = new QDialogButtonBox(notice);
    QPushButton *open = buttons->addButton(QStringLiteral("&Открыть"), QDialogButtonBox::AcceptRole);
    open->setObjectName(QStringLiteral("btnOpen"));
    QPushButton *folder = buttons->addButton(QStringLiteral("Открыть &папку"), QDialogButtonBox::ActionRole);
    folder->setObjectName(QStringLiteral("btnOpenFolder"));
    QPushButton *close = buttons->addButton(QStringLiteral("&Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btnClose"));
    layout->addWidget(buttons);
    QDialog *dialog = notice;
    QObject::connect(open, &QPushButton::clicked, dialog, [dialog, path, label] {
        if (openWithDesktop(path))
            dialog->close();
        else
            label->setText(QStringLiteral("Сохранено: %1\nПрограмма для просмотра файла не найдена.")
                               .arg(QDir::toNativeSeparators(path)));
    });
    QObject::connect(folder, &QPushButton::clicked, dialog, [dialog, path] {
        if (openContainingFolder(path))
            dialog->close();
    });
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    notice->setMinimumWidth(420);
    notice->show();
}

} // namespace korvan
