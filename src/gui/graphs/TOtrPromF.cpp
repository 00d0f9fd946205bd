// TOtrPromF: the «Данные предприятия» dialog (industry and enterprise of a graph).
#include "gui/graphs/TOtrPromF.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/widgets/DialogButtons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace korvan {

TOtrPromF::TOtrPromF(TDataModule1 &data, QWidget *parent)
    : QDialog(parent), m_data(data), m_cmbOtr(new QComboBox(this)), m_cmbName(new QComboBox(this)),
      m_ok(new QPushButton(QStringLiteral("ОК"), this))
{
    setObjectName(QStringLiteral("OtrPromF"));
    setWindowTitle(QStringLiteral("Данные предприятия."));
    m_cmbOtr->setObjectName(QStringLiteral("cmbOtr"));
    m_cmbName->setObjectName(QStringLiteral("cmbName"));
    for (QComboBox *c : {m_cmbOtr, m_cmbName}) {
        c->setEditable(true);
        // A typed name is the text; it must not be added to the list or completed into another.
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->lineEdit()->setMaxLength(100);
        c->setMinimumWidth(380);
    }
    connect(m_cmbOtr, &QComboBox::editTextChanged, this, &TOtrPromF::cmbOtrChange);
    connect(m_cmbName, &QComboBox::editTextChanged, this, &TOtrPromF::updateOk);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Отрасль промышленности:"), m_cmbOtr);
    form->addRow(QStringLiteral("Наименование предприятия:"), m_cmbName);

    QHBoxLayout *buttons = dialogButtonRow(this, m_ok, QStringLiteral("Справка"), HelpContext);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    updateOk();
}

QString TOtrPromF::industry() const { return m_cmbOtr->currentText(); }
QString TOtrPromF::enterprise() const { return m_cmbName->currentText(); }

void TOtrPromF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QStringList names;
    const TTable &industries = *m_data.tblSutGr0;
    const int otrasl = industries.fieldIndex(fld::Otrasl);
    for (const TTable::Row &row : industries.rows())
        names << row[otrasl].toString();
    {
        const QSignalBlocker block(m_cmbOtr);
        m_cmbOtr->clear();
        m_cmbOtr->addItems(names);
        m_cmbOtr->setCurrentIndex(names.isEmpty() ? -1 : 0);
        if (names.isEmpty())
            m_cmbOtr->setEditText(QString());
    }
    cmbOtrChange(m_cmbOtr->currentText());
    m_cmbOtr->setFocus();
}

void TOtrPromF::cmbOtrChange(const QString &text)
{
    {
        const QSignalBlocker block(m_cmbName);
        m_cmbName->clear();
        m_cmbName->setEditText(QString());
    }
    // The industry of exactly this name (letter case included) becomes the current one.
    TTable &industries = *m_data.tblSutGr0;
    if (!text.isEmpty() && industries.locate(fld::Otrasl, text)) {
        QStringList names;
        const TTable &enterprises = *m_data.tblSutGr1;
        const int name = enterprises.fieldIndex(fld::Name);
        for (const TTable::Row &row : enterprises.rows())
            names << row[name].toString();
        const QSignalBlocker block(m_cmbName);
        m_cmbName->addItems(names);
        m_cmbName->setCurrentIndex(names.isEmpty() ? -1 : 0);
    }
    updateOk();
}

void TOtrPromF::updateOk()
{
    m_ok->setEnabled(!m_cmbOtr->currentText().isEmpty() && !m_cmbName->currentText().isEmpty());
}

} // namespace korvan
