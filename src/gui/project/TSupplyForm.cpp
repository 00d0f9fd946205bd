// TSupplyForm: the «Питание и гармоники» dialog.
#include "gui/project/TSupplyForm.h"

#include "core/Messages.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumericEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace korvan {

TSupplyForm::TSupplyForm(QWidget *parent)
    : QDialog(parent), m_str(new NumericEdit(NumericEdit::Decimal, this)),
      m_uk(new NumericEdit(NumericEdit::Decimal, this)), m_sscNet(new NumericEdit(NumericEdit::Decimal, this)),
      m_harmonics(new QLineEdit(this)), m_clear(new QPushButton(QStringLiteral("Очистить"), this))
{
    setObjectName(QStringLiteral("SupplyForm"));
    setWindowTitle(QStringLiteral("Питание и гармоники."));

    m_str->setObjectName(QStringLiteral("EditStr"));
    m_uk->setObjectName(QStringLiteral("EditUk"));
    m_sscNet->setObjectName(QStringLiteral("EditSscNet"));
    m_harmonics->setObjectName(QStringLiteral("EditHarmonics"));
    // Whole numbers and their separators only.
    m_harmonics->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,; ]*")), m_harmonics));
    m_clear->setObjectName(QStringLiteral("btnClear"));
    m_clear->setToolTip(QStringLiteral("Удалить данные питания проекта: проверка резонанса не выполняется"));
    for (NumericEdit *e : {m_str, m_uk, m_sscNet}) {
        e->setFixedWidth(90);
        e->setAlignment(Qt::AlignRight);
    }
    m_harmonics->setFixedWidth(160);

    auto *grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString &label, QWidget *field, const QString &note = {}) {
        auto *l = new QLabel(label, this);
        l->setBuddy(field);
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row, 1);
        if (!note.isEmpty())
            grid->addWidget(new QLabel(note, this), row, 2);
        ++row;
    };
    addRow(QStringLiteral("Номинальная мощность трансформатора Sт, кВА:"), m_str);
    addRow(QStringLiteral("Напряжение короткого замыкания трансформатора uк, %:"), m_uk, QStringLiteral("( до 20 )"));
    addRow(QStringLiteral("Мощность короткого замыкания сети Sкз, МВА:"), m_sscNet,
           QStringLiteral("( пусто - бесконечно мощная сеть )"));
    addRow(QStringLiteral("Порядки гармоник нагрузки:"), m_harmonics, QStringLiteral("( от 2 до 50, через запятую )"));
    grid->setColumnStretch(2, 1);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    QHBoxLayout *buttons = dialogButtonRow(this, ok, QStringLiteral("Справка"), HelpContext);
    buttons->insertWidget(0, m_clear);
    connect(m_clear, &QPushButton::clicked, this, [this] {
        if (Messages::question(
                QStringLiteral("Удалить данные питания проекта? Проверка резонанса выполняться не будет.")))
            done(Clear);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    QWidget *order[] = {m_str,
                        m_uk,
                        m_sscNet,
                        m_harmonics,
                        ok,
                        findChild<QPushButton *>(QStringLiteral("btnCancel")),
                        findChild<QPushButton *>(QStringLiteral("btnHelp")),
                        m_clear};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    setFixedSize(sizeHint());
}

void TSupplyForm::setInput(const SupplyInput &input, bool hasSupply)
{
    m_str->setText(input.str);
    m_uk->setText(input.uk);
    m_sscNet->setText(input.sscNet);
    m_harmonics->setText(input.harmonics);
    m_clear->setEnabled(hasSupply);
    m_str->setFocus();
    m_str->selectAll();
}

SupplyInput TSupplyForm::input() const { return {m_str->text(), m_uk->text(), m_sscNet->text(), m_harmonics->text()}; }

QWidget *TSupplyForm::fieldWidget(int field) const
{
    switch (field) {
    case SupplyInput::Str:
        return m_str;
    case SupplyInput::Uk:
        return m_uk;
    case SupplyInput::SscNet:
        return m_sscNet;
    case SupplyInput::Harmonics:
        return m_harmonics;
    default:
        return nullptr;
    }
}

void TSupplyForm::accept()
{
    if (refuseInput(checkSupplyInput(input()), [this](int field) { return fieldWidget(field); }))
        return;
    QDialog::accept();
}

} // namespace korvan
