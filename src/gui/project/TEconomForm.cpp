// TEconomForm: the «Экономические параметры» dialog.
#include "gui/project/TEconomForm.h"

#include "core/Messages.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumericEdit.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

TEconomForm::TEconomForm(QWidget *parent)
    : QDialog(parent), m_rate(new NumericEdit(NumericEdit::Decimal, this)),
      m_life(new NumericEdit(NumericEdit::Whole, this)), m_maint(new NumericEdit(NumericEdit::Decimal, this)),
      m_mont(new NumericEdit(NumericEdit::Decimal, this))
{
    setObjectName(QStringLiteral("EconomForm"));
    setWindowTitle(QStringLiteral("Экономические параметры"));

    auto *form = new QFormLayout;
    const std::pair<NumericEdit *, const char *> fields[] = {
        {m_rate, "EditRate"}, {m_life, "EditLife"}, {m_maint, "EditMaint"}, {m_mont, "EditMont"}};
    for (int i = 0; i < 4; ++i) {
        NumericEdit *e = fields[i].first;
        e->setObjectName(QLatin1String(fields[i].second));
        e->setFixedWidth(90);
        e->setAlignment(Qt::AlignRight);
        auto *label = new QLabel(economicFieldCaption(EconomicInput::Field(i)) + QLatin1Char(':'), this);
        label->setBuddy(e);
        form->addRow(label, e);
    }
    auto *note = new QLabel(QStringLiteral("По ним для каждого варианта и каждой строки таблицы анализа рассчитываются "
                                           "чистый дисконтированный доход (ЧДД), внутренняя норма доходности (ВНД) и "
                                           "дисконтированный срок окупаемости."),
                            this);
    note->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addSpacing(6);
    layout->addLayout(dialogButtonRow(this, ok, QStringLiteral("Справка"), HelpContext));
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

void TEconomForm::setInput(const EconomicInput &in)
{
    m_rate->setText(in.rate);
    m_life->setText(in.life);
    m_maint->setText(in.maint);
    m_mont->setText(in.mont);
    m_rate->setFocus();
    m_rate->selectAll();
}

EconomicInput TEconomForm::input() const { return {m_rate->text(), m_life->text(), m_maint->text(), m_mont->text()}; }

QWidget *TEconomForm::fieldWidget(int field) const
{
    switch (field) {
    case EconomicInput::Rate:
        return m_rate;
    case EconomicInput::Life:
        return m_life;
    case EconomicInput::Maint:
        return m_maint;
    case EconomicInput::Mont:
        return m_mont;
    default:
        return nullptr;
    }
}

void TEconomForm::accept()
{
    if (refuseInput(checkEconomicInput(input()), [this](int field) { return fieldWidget(field); }))
        return;
    QDialog::accept();
}

} // namespace korvan
