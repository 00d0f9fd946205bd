// TSelKompF: the «Режим подбора модулей КУ» dialog.
#include "gui/compensation/TSelKompF.h"

#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "gui/compensation/ModePanel.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumericEdit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace korvan {

TSelKompF::TSelKompF(TDataModule1 &data, QWidget *parent) : QDialog(parent), m_data(data), m_mode(new ModePanel(this))
{
    setObjectName(QStringLiteral("SelKompF"));
    setWindowTitle(QStringLiteral("Режим подбора модулей КУ."));

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    QHBoxLayout *buttons = dialogButtonRow(this, ok, QStringLiteral("Справка"), HelpContext);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_mode);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(440, 0)));
}

ModeInput TSelKompF::input() const { return m_mode->input(); }

void TSelKompF::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        m_mode->takeFromVariant(*m_data.tblProj2);
    QDialog::showEvent(event);
}

void TSelKompF::accept()
{
    if (refuseInput(checkModeInput(input()), [this](int f) { return m_mode->field(f); }))
        return;
    QDialog::accept();
}

} // namespace korvan
