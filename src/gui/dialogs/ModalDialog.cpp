#include "gui/dialogs/ModalDialog.h"

#include <QDialog>

namespace korvan {

void openModal(QDialog *dialog, std::function<void(int result)> done)
{
    QObject::connect(
        dialog, &QDialog::finished, dialog,
        [done = std::move(done)](int result) {
            if (done)
                done(result);
        },
        Qt::SingleShotConnection);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace korvan
