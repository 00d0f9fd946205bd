#include "gui/widgets/DialogButtons.h"

#include "gui/dialogs/HelpWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace korvan {

QHBoxLayout *dialogButtonRow(QDialog *dialog, QPushButton *ok, const QString &helpCaption, int helpContext)
{
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = new QPushButton(helpCaption, dialog);
    help->setObjectName(QStringLiteral("btnHelp"));
    // Through the dialog's own accept, which may check its fields first.
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog] { dialog->accept(); });
    QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog] { dialog->reject(); });
    QObject::connect(help, &QPushButton::clicked, dialog, [helpContext] { showHelpTopic(helpContext); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    return buttons;
}

} // namespace korvan
