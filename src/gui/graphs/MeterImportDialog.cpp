#include "gui/graphs/MeterImportDialog.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/graphs/TAddSutGrF.h"

#include "core/calc/Numbers.h"
#include "core/Messages.h"
#include "gui/graphs/StepChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvan {

MeterImportDialog::MeterImportDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MeterImportDlg"));
    setWindowTitle(QStringLiteral("Суточный график по файлу измерений."));
    auto *layout = new QVBoxLayout(this);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Файл измерений:")));
    m_path = new QLineEdit;
    m_path->setObjectName(QStringLiteral("EditFile"));
    // A path may be typed or pasted: Enter (or leaving the field) reads the file.
    m_path->setPlaceholderText(QStringLiteral("путь к файлу: введите, вставьте или выберите «Обзор...»"));
    fileRow->addWidget(m_path, 1);
    auto *browseButton = new QPushButton(QStringLiteral("Обзор..."));
    browseButton->setObjectName(QStringLiteral("btnBrowse"));
    browseButton->setToolTip(QStringLiteral("Выбрать файл показаний счётчика или анализатора (CSV)"));
    fileRow->addWidget(browseButton);
    layout->addLayout(fileRow);

    auto *readBox = new QGroupBox(QStringLiteral("Чтение файла"));
    auto *readForm = new QFormLayout(readBox);
    m_units = new QComboBox;
    m_units->setObjectName(QStringLiteral("cmbUnits"));
    m_units->addItems({QStringLiteral("определить по заголовку"), QStringLiteral("средние мощности (кВт, кВАр)"),
                       QStringLiteral("энергии за интервал (кВтч, кВАрч)")});
    readForm->addRow(QStringLiteral("Значения в файле:"), m_units);
    m_stampStart = new QCheckBox(QStringLiteral("Отметка времени обозначает начало интервала"));
    m_stampStart->setObjectName(QStringLiteral("chkStampStart"));
    m_stampStart->setToolTip(QStringLiteral("Обычно счётчики ставят отметку в конце интервала усреднения"));
    readForm->addRow(m_stampStart);
    layout->addWidget(readBox);

    m_found = new QPlainTextEdit;
    m_found->setObjectName(QStringLiteral("memoFound"));
    m_found->setReadOnly(true);
    m_found->setMaximumHeight(100);
    layout->addWidget(new QLabel(QStringLiteral("Найдено в файле:")));
    layout->addWidget(m_found);

    auto *dayBox = new QGroupBox(QStringLiteral("Суточный график"));
    auto *dayLayout = new QFormLayout(dayBox);
    auto *oneRow = new QHBoxLayout;
    m_oneDay = new QRadioButton(QStringLiteral("Сутки:"));
    m_oneDay->setObjectName(QStringLiteral("rbDay"));
    m_oneDay->setChecked(true);
    m_day = new QComboBox;
    m_day->setObjectName(QStringLiteral("cmbDay"));
    oneRow->addWidget(m_oneDay);
    oneRow->addWidget(m_day, 1);
    dayLayout->addRow(oneRow);
    m_workdays = new QRadioButton(QStringLiteral("Среднее по рабочим дням (понедельник – пятница)"));
    m_workdays->setObjectName(QStringLiteral("rbWorkdays"));
    dayLayout->addRow(m_workdays);
    m_maxDay = new QRadioButton(QStringLiteral("Сутки с наибольшим потреблением активной энергии"));
    m_maxDay->setObjectName(QStringLiteral("rbMaxDay"));
    dayLayout->addRow(m_maxDay);
    m_period = new QComboBox;
    m_period->setObjectName(QStringLiteral("cmbPeriod"));
    for (const double h : {0.5, 1.0, 2.0, 3.0, 4.0})
        m_period->addItem(numberText(h), h);
    m_period->setCurrentIndex(1);
    dayLayout->addRow(QStringLiteral("Длина периода, ч:"), m_period);
    layout->addWidget(dayBox);

    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_problem);

    m_chart = new StepChart;
    m_chart->setObjectName(QStringLiteral("Chart1"));
    layout->addWidget(m_chart, 1);

    auto *buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setEnabled(false);
    auto *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = buttons->addButton(QStringLiteral("Справка"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("btnHelp"));
    // Enter in the path field reads the file; it does not close the dialog.
    for (QPushButton *b : {m_ok, cancel, help})
        b->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(TAddSutGrF::HelpContext); });
    layout->addWidget(buttons);
    resize(760, 700);

    connect(browseButton, &QPushButton::clicked, this, &MeterImportDialog::browse);
    connect(m_path, &QLineEdit::editingFinished, this, [this] {
        const QString path = m_path->text().trimmed();
        if (!path.isEmpty() && path != m_loaded)
            loadFile(path);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_units, &QComboBox::currentIndexChanged, this, &MeterImportDialog::reread);
    connect(m_stampStart, &QCheckBox::toggled, this, &MeterImportDialog::reread);
    for (QRadioButton *b : {m_oneDay, m_workdays, m_maxDay})
        connect(b, &QRadioButton::toggled, this, &MeterImportDialog::rebuild);
    connect(m_day, &QComboBox::currentIndexChanged, this, &MeterImportDialog::rebuild);
    connect(m_period, &QComboBox::currentIndexChanged, this, &MeterImportDialog::rebuild);
}

void MeterImportDialog::browse()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Файл измерений"), m_path->text(),
                                                      QStringLiteral("Файлы измерений (*.csv *.txt);;Все файлы (*)"));
    if (!path.isEmpty())
        loadFile(path);
}

MeterReadOptions MeterImportDialog::options() const
{
    MeterReadOptions o;
    o.units = static_cast<MeterReadOptions::Units>(m_units->currentIndex());
    o.stampMarksStart = m_stampStart->isChecked();
    return o;
}

bool MeterImportDialog::loadFile(const QString &path)
{
    m_path->setText(path);
    m_loaded = path;
    m_data.reset();
    try {
        m_data = readMeterFile(path, options());
    } catch (const KorvanError &e) {
        m_found->clear();
        m_day->clear();
        m_periods.clear();
        m_ok->setEnabled(false);
        m_problem->setText(e.message());
        m_chart->clear(QString(), QString());
        Messages::error(e.message());
        return false;
    }
    showDetection();
    rebuild();
    return true;
}

void MeterImportDialog::reread()
{
    if (!m_path->text().isEmpty())
        loadFile(m_path->text());
}

void MeterImportDialog::showDetection()
{
    const MeterData &d = *m_data;
    const QString separator =
        d.separator == QLatin1Char('\t') ? QStringLiteral("табуляция") : QStringLiteral("«%1»").arg(d.separator);
    QStringList lines;
    lines << QStringLiteral("Кодировка: %1; разделитель: %2; строка заголовка: %3.")
                 .arg(d.encoding, separator, d.header ? QStringLiteral("есть") : QStringLiteral("нет"));
    lines << QStringLiteral("Столбцы: время — «%1», P — «%2», Q — «%3»; значения: %4.")
                 .arg(d.columns.value(d.timeColumn), d.columns.value(d.pColumn), d.columns.value(d.qColumn),
                      d.energies ? QStringLiteral("энергии за интервал (кВтч, кВАрч)")
                                 : QStringLiteral("мощности (кВт, кВАр)"));
    lines << QStringLiteral("Интервал измерений: %1 мин; измерений: %2.").arg(d.intervalMinutes).arg(d.readings.size());
    if (d.dateless)
        lines << QStringLiteral("Даты в файле не указаны: одни сутки.");
    else
        lines << QStringLiteral("Сутки: %1 (с %2 по %3).")
                     .arg(d.dates.size())
                     .arg(d.dates.first().toString(QStringLiteral("dd.MM.yyyy")),
                          d.dates.last().toString(QStringLiteral("dd.MM.yyyy")));
    if (d.warnings.isEmpty())
        lines << QStringLiteral("Пропусков и повторов отметок времени нет.");
    else
        lines << d.warnings;
    m_found->setPlainText(lines.join(QLatin1Char('\n')));

    const QSignalBlocker block(m_day);
    m_day->clear();
    for (const QDate &date : d.dates)
        m_day->addItem(d.dateless ? QStringLiteral("без даты")
                                  : QLocale(QLocale::Russian).toString(date, QStringLiteral("dd.MM.yyyy, dddd")),
                       date);
    m_workdays->setEnabled(!d.dateless);
    m_maxDay->setEnabled(!d.dateless);
    if (d.dateless)
        m_oneDay->setChecked(true);
}

MeterDayChoice MeterImportDialog::dayChoice() const
{
    if (m_workdays->isChecked())
        return {MeterDayChoice::Kind::Workdays, {}};
    if (m_maxDay->isChecked())
        return {MeterDayChoice::Kind::MaxDay, {}};
    return {MeterDayChoice::Kind::Date, m_day->currentData().toDate()};
}

double MeterImportDialog::periodHours() const { return m_period->currentData().toDouble(); }

void MeterImportDialog::rebuild()
{
    m_day->setEnabled(m_oneDay->isChecked());
    m_periods.clear();
    if (!m_data) {
        m_ok->setEnabled(false);
        return;
    }
    try {
        m_periods = meterDayGraph(*m_data, dayChoice(), periodHours());
        m_problem->clear();
    } catch (const KorvanError &e) {
        m_problem->setText(e.message());
    }
    m_ok->setEnabled(!m_periods.isEmpty());
    m_chart->draw(m_periods, true, true, QStringLiteral("Суточный график: %1").arg(describeDay(*m_data, dayChoice())),
                  QStringLiteral("P, кВт; Q, кВАр"));
}

} // namespace korvan
