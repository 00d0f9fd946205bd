#include "gui/dialogs/TabParamsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvan {

TabParamsDialog::TabParamsDialog(const QStringList &fields, const QString &field, int charCount, bool caseInsensitive,
                                 QWidget *parent)
    : QDialog(parent), m_field(new QComboBox(this)), m_count(new QSpinBox(this)), m_case(new QCheckBox(this))
{
    setObjectName(QStringLiteral("TabParamsDialog"));
    setWindowTitle(QStringLiteral("Введите параметры закладки."));
    m_field->setObjectName(QStringLiteral("cmbField"));
    m_field->addItems(fields);
    m_field->setCurrentIndex(qMax(0, fields.indexOf(field)));
    m_count->setObjectName(QStringLiteral("spinCharCount"));
    m_count->setRange(1, 10);
    m_count->setValue(charCount);
    // Changed by its arrows only.
    m_count->findChild<QLineEdit *>()->setReadOnly(true);
    m_case->setObjectName(QStringLiteral("chkCaseInsensitive"));
    m_case->setText(QStringLiteral("Нечувствительность к регистру символов"));
    m_case->setChecked(caseInsensitive);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Поле фильтрации:"), m_field);
    form->addRow(QStringLiteral("Количество символов:"), m_count);
    form->addRow(m_case);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

QString TabParamsDialog::field() const { return m_field->currentText(); }
int TabParamsDialog::charCount() const { return m_count->value(); }
bool TabParamsDialog::caseInsensitive() const { return m_case->isChecked(); }

} // namespace korvan
