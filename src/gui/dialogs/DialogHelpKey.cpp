#include "gui/dialogs/DialogHelpKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

namespace korvan {

namespace {

// F1 pressed in a dialog: the dialog's help button answers it.
class DialogHelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1 ||
            !watched->isWidgetType())
            return false;
        auto *dialog = qobject_cast<QDialog *>(static_cast<QWidget *>(watched)->window());
        if (!dialog)
            return false;
        for (auto *help : dialog->findChildren<QAbstractButton *>(QStringLiteral("btnHelp")))
            if (help->isVisible() && help->isEnabled() && help->window() == dialog) {
                help->click();
                return true;
            }
        return false;
    }
};

} // namespace

void installDialogHelpKey()
{
    static DialogHelpKey *filter = nullptr;
    if (!filter) {
        filter = new DialogHelpKey(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace korvan
