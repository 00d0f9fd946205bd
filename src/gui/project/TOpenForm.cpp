// TOpenForm: the «Открытие проекта» dialog.
#include "gui/project/TOpenForm.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/TzqFilterTabControl.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

TOpenForm::TOpenForm(TDataModule1 &data, QWidget *parent)
    : QDialog(parent), m_data(data), m_tabs(new TzqFilterTabControl(this)), m_grid(new CursorGrid(data.tblProj0, this)),
      m_memo(new QPlainTextEdit(this)), m_month(new QLineEdit(this)), m_year(new QLineEdit(this)),
      m_tarifA(new QLineEdit(this)), m_tarifQ(new QLineEdit(this)), m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("OpenForm"));
    setWindowTitle(QStringLiteral("Открытие проекта."));

    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setColumns({{fld::Name, QStringLiteral("Наименование проекта")},
                        {fld::ProjOwner, QStringLiteral("Владелец")},
                        {fld::ProjDate, QStringLiteral("Дата")},
                        {fld::ProjTime, QStringLiteral("Время")}});
    m_grid->setColumnWidth(0, 260);
    m_grid->setColumnWidth(1, 180);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // A double click chooses the project, as OK does.
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &QDialog::accept);

    m_tabs->setObjectName(QStringLiteral("FilterTabControl1"));
    m_tabs->setPage(m_grid);
    m_tabs->setDataField(fld::Name);
    m_tabs->setCaseInsensitive(true);
    m_tabs->setCharCount(1);
    m_tabs->setDataSource(data.tblProj0);

    m_memo->setObjectName(QStringLiteral("DBMemo1"));
    m_memo->setReadOnly(true);
    m_memo->setFixedHeight(m_memo->fontMetrics().height() * 3 + 12);
    auto *values = new QFormLayout;
    for (auto [edit, name, label] :
         {std::tuple{m_month, "DBEditMonthDay", "Среднее количество рабочих дней в месяце:"},
          std::tuple{m_year, "DBEditYearDay", "Среднее количество рабочих дней в году:"},
          std::tuple{m_tarifA, "DBEditTarif_a", "Тариф на активную электроэнергию, грн/кВтч:"},
          std::tuple{m_tarifQ, "DBEditTarif_q", "Тариф на реактивную электроэнергию, грн/кВАрч:"}}) {
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        edit->setFixedWidth(90);
        edit->setAlignment(Qt::AlignRight);
        values->addRow(QString::fromUtf8(label), edit);
    }

    QHBoxLayout *buttons = dialogButtonRow(this, m_ok, QStringLiteral("Справка"), HelpContext);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(new QLabel(QStringLiteral("Примечание"), this));
    layout->addWidget(m_memo);
    layout->addLayout(values);
    layout->addLayout(buttons);
    resize(680, 520);

    connect(data.tblProj0, &TTable::currentChanged, this, &TOpenForm::showProject);
    connect(data.tblProj0, &TTable::rowsChanged, this, &TOpenForm::showProject);
    showProject();
}

void TOpenForm::showProject()
{
    const TTable &p = *m_data.tblProj0;
    const bool any = p.active() && !p.isEmpty();
    auto text = [&](const QString &field) { return any ? p.asString(field) : QString(); };
    m_memo->setPlainText(text(fld::ProjMemo));
    m_month->setText(text(fld::MonthDay));
    m_year->setText(text(fld::YearDay));
    m_tarifA->setText(text(fld::Tarif_a));
    m_tarifQ->setText(text(fld::Tarif_q));
}

void TOpenForm::FormActivate()
{
    m_ok->setEnabled(m_data.tblProj0->recordCount() >= 1);
    m_grid->setFocus();
}

void TOpenForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TOpenForm::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

} // namespace korvan
