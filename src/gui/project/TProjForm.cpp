// TProjForm: the «Параметры проекта» dialog.
#include "gui/project/TProjForm.h"

#include "core/Messages.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DialogButtons.h"
#include "gui/widgets/NumericEdit.h"
#include "gui/widgets/StepButton.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace korvan {

TProjForm::TProjForm(QWidget *parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_owner(new QLineEdit(this)), m_date(new QDateEdit(this)),
      m_time(new QTimeEdit(this)), m_memo(new QPlainTextEdit(this)), m_month(new NumericEdit(NumericEdit::Whole, this)),
      m_year(new NumericEdit(NumericEdit::Whole, this)), m_tarifA(new NumericEdit(NumericEdit::Decimal, this)),
      m_tarifQ(new NumericEdit(NumericEdit::Decimal, this))
{
    setObjectName(QStringLiteral("ProjForm"));
    setWindowTitle(QStringLiteral("Параметры проекта."));

    m_name->setObjectName(QStringLiteral("EditName"));
    m_name->setMaxLength(50);
    m_owner->setObjectName(QStringLiteral("EditOwner"));
    m_owner->setMaxLength(50);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setCalendarPopup(true);
    m_time->setObjectName(QStringLiteral("DateTimePicker2"));
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_memo->setObjectName(QStringLiteral("MemoPrim"));
    m_memo->setTabChangesFocus(true);
    m_memo->setFixedHeight(m_memo->fontMetrics().height() * 4 + 12);
    m_month->setObjectName(QStringLiteral("EditMonth"));
    m_year->setObjectName(QStringLiteral("EditYear"));
    m_tarifA->setObjectName(QStringLiteral("EditTarifA"));
    m_tarifQ->setObjectName(QStringLiteral("EditTarifQ"));
    for (NumericEdit *e : {m_month, m_year, m_tarifA, m_tarifQ}) {
        e->setFixedWidth(90);
        e->setAlignment(Qt::AlignRight);
    }

    auto *grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString &label, QWidget *field, QLayout *steps = nullptr) {
        auto *l = new QLabel(label, this);
        l->setBuddy(field);
        grid->addWidget(l, row, 0,
                        Qt::AlignLeft | (qobject_cast<QPlainTextEdit *>(field) ? Qt::AlignTop : Qt::AlignVCenter));
        if (steps) {
            auto *line = new QHBoxLayout;
            line->addWidget(field);
            line->addLayout(steps);
            line->addStretch();
            grid->addLayout(line, row, 1);
        } else {
            grid->addWidget(field, row, 1);
        }
        ++row;
    };
    auto steps = [&](NumericEdit *target, std::initializer_list<std::pair<double, const char *>> list,
                     std::optional<double> bound = std::nullopt) {
        auto *line = new QHBoxLayout;
        line->setSpacing(6);
        for (const auto &[step, name] : list) {
            StepButton *b = addStep(target, step, name);
            if (bound)
                b->setUpBound(*bound);
            line->addWidget(b);
        }
        return line;
    };

    addRow(QStringLiteral("Наименование:"), m_name);
    addRow(QStringLiteral("Владелец:"), m_owner);
    auto *when = new QHBoxLayout;
    when->addWidget(m_date);
    when->addSpacing(12);
    auto *timeLabel = new QLabel(QStringLiteral("Время создания:"), this);
    timeLabel->setBuddy(m_time);
    when->addWidget(timeLabel);
    when->addWidget(m_time);
    when->addStretch();
    auto *dateLabel = new QLabel(QStringLiteral("Дата создания:"), this);
    dateLabel->setBuddy(m_date);
    grid->addWidget(dateLabel, row, 0);
    grid->addLayout(when, row, 1);
    ++row;
    addRow(QStringLiteral("Примечание:"), m_memo);
    addRow(QStringLiteral("Среднее количество рабочих дней в месяце:"), m_month,
           steps(m_month, {{10, "SpinButtonM10"}, {1, "SpinButtonM1"}}, 31));
    addRow(QStringLiteral("Среднее количество рабочих дней в году:"), m_year,
           steps(m_year, {{10, "SpinButtonY10"}, {1, "SpinButtonY1"}}, 366));
    addRow(QStringLiteral("Тариф на активную электроэнергию, грн/кВтч:"), m_tarifA,
           steps(m_tarifA, {{0.1, "SpinButtonA01"}, {0.01, "SpinButtonA001"}, {0.001, "SpinButtonA0001"}}));
    addRow(QStringLiteral("Тариф на реактивную электроэнергию, грн/кВАрч:"), m_tarifQ,
           steps(m_tarifQ, {{0.1, "SpinButtonQ01"}, {0.01, "SpinButtonQ001"}, {0.001, "SpinButtonQ0001"}}));
    grid->setColumnStretch(1, 1);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    QHBoxLayout *buttons = dialogButtonRow(this, ok, QStringLiteral("Справка"), HelpContext);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // The fields in the order of the parameters, then the buttons.
    QWidget *order[] = {m_name,
                        m_owner,
                        m_date,
                        m_time,
                        m_memo,
                        m_month,
                        m_year,
                        m_tarifA,
                        m_tarifQ,
                        ok,
                        findChild<QPushButton *>(QStringLiteral("btnCancel")),
                        findChild<QPushButton *>(QStringLiteral("btnHelp"))};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    setFixedSize(sizeHint().expandedTo(QSize(600, 0)));
}

StepButton *TProjForm::addStep(NumericEdit *target, double step, const char *name)
{
    auto *b = new StepButton(target, step, this);
    b->setObjectName(QLatin1String(name));
    b->setCaptionShown(true);
    return b;
}

void TProjForm::setParams(const ProjectParams &p)
{
    m_name->setText(p.name);
    m_owner->setText(p.owner);
    m_date->setDate(p.date.isValid() ? p.date : QDate::currentDate());
    m_time->setTime(p.time.isValid() ? p.time : QTime(0, 0));
    m_memo->setPlainText(p.memo);
    m_month->setText(p.monthDay);
    m_year->setText(p.yearDay);
    m_tarifA->setText(p.tarifA);
    m_tarifQ->setText(p.tarifQ);
    m_name->setFocus();
    m_name->selectAll();
}

ProjectParams TProjForm::params() const
{
    ProjectParams p;
    p.name = m_name->text();
    p.owner = m_owner->text();
    p.date = m_date->date();
    p.time = m_time->time();
    p.memo = m_memo->toPlainText();
    p.monthDay = m_month->text();
    p.yearDay = m_year->text();
    p.tarifA = m_tarifA->text();
    p.tarifQ = m_tarifQ->text();
    return p;
}

QWidget *TProjForm::fieldWidget(int field) const
{
    switch (field) {
    case ProjectParams::Name:
        return m_name;
    case ProjectParams::ProjOwner:
        return m_owner;
    case ProjectParams::ProjDate:
        return m_date;
    case ProjectParams::ProjTime:
        return m_time;
    case ProjectParams::ProjMemo:
        return m_memo;
    case ProjectParams::MonthDay:
        return m_month;
    case ProjectParams::YearDay:
        return m_year;
    case ProjectParams::Tarif_a:
        return m_tarifA;
    case ProjectParams::Tarif_q:
        return m_tarifQ;
    default:
        return nullptr;
    }
}

void TProjForm::accept()
{
    if (refuseInput(checkProjectParams(params()), [this](int field) { return fieldWidget(field); }))
        return;
    QDialog::accept();
}

} // namespace korvan
