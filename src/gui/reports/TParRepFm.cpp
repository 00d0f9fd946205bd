// TParRepFm: the «Параметры отчета» window.
#include "gui/reports/TParRepFm.h"
#include "core/data/Fields.h"

#include "core/data/ReportFrontTables.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "core/Messages.h"
#include "core/reports/EconomicsReport.h"
#include "core/reports/PageMargins.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/ui/Lib.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/NumericEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

namespace {

struct NavButton {
    const char *name;
    const char *hint;
    QStyle::StandardPixmap icon;
    const char *text; // where the style has no fitting icon
};

const NavButton NavButtons[] = {
    {"btnFirst", "Первая запись", QStyle::SP_MediaSkipBackward, ""},
    {"btnPrior", "Предыдущая запись", QStyle::SP_MediaSeekBackward, ""},
    {"btnNext", "Следующая запись", QStyle::SP_MediaSeekForward, ""},
    {"btnLast", "Последняя запись", QStyle::SP_MediaSkipForward, ""},
    {"btnInsert", "Вставка записи", QStyle::SP_CustomBase, "+"},
    {"btnDelete", "Удаление записи", QStyle::SP_CustomBase, "−"},
    {"btnEdit", "Редактирование записи", QStyle::SP_CustomBase, "▲"},
    {"btnPost", "Сохранение записи", QStyle::SP_DialogApplyButton, ""},
    {"btnCancel", "Отмена изменений", QStyle::SP_DialogCancelButton, ""},
    {"btnRefresh", "Обновление данных", QStyle::SP_BrowserReload, ""},
};

struct MarginDef {
    QString field;
    const char *caption;
};

const MarginDef Margins[] = {
    {fld::TopMargin, "верхнее:"},
    {fld::BottomMargin, "нижнее:"},
    {fld::LeftMargin, "левое:"},
    {fld::RightMargin, "правое:"},
    {fld::HeaderDistance, "до верхнего колонтитула:"},
    {fld::FooterDistance, "до нижнего колонтитула:"},
};

} // namespace

TParRepFm::TParRepFm(TDataModule1 &data, QWidget *parent) : QDialog(parent), m_data(data), m_report(*data.TableReport)
{
    setObjectName(QStringLiteral("ParRepFm"));
    setWindowTitle(QStringLiteral("Параметры отчета."));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildNavigator());

    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(buildContentsPage(), QStringLiteral("Содержание отчета"));
    pages->addTab(buildWordPage(), QStringLiteral("Параметры документа Word"));
    layout->addWidget(pages, 1);

    connect(&m_report, &TTable::currentChanged, this, &TParRepFm::loadRecord);
    connect(&m_report, &TTable::rowsChanged, this, &TParRepFm::loadRecord);
    connect(&m_report, &TTable::stateChanged, this, &TParRepFm::loadRecord);

    blankSample();
    loadRecord();
    setFixedSize(820, 600);
}

QWidget *TParRepFm::buildNavigator()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelTop"));
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *left = new QVBoxLayout;
    auto *nav = new QWidget(panel);
    nav->setObjectName(QStringLiteral("DBNavigator1"));
    auto *navLayout = new QHBoxLayout(nav);
    navLayout->setContentsMargins(0, 0, 0, 0);
    navLayout->setSpacing(1);
    for (const NavButton &b : NavButtons) {
        auto *button = new QToolButton(nav);
        button->setObjectName(QLatin1String(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        if (b.icon != QStyle::SP_CustomBase)
            button->setIcon(style()->standardIcon(b.icon));
        else
            button->setText(QString::fromUtf8(b.text));
        button->setFixedSize(28, 24);
        button->setFocusPolicy(Qt::NoFocus);
        navLayout->addWidget(button);
        m_navigator.insert(button->objectName(), button);
    }
    navLayout->addStretch();
    auto act = [this](const char *name, std::function<void()> f) {
        connect(m_navigator.value(QLatin1String(name)), &QToolButton::clicked, this, [this, f = std::move(f)] {
            runGuarded(f);
            loadRecord();
        });
    };
    act("btnFirst", [this] { m_report.first(); });
    act("btnPrior", [this] { m_report.prior(); });
    act("btnNext", [this] { m_report.next(); });
    act("btnLast", [this] { m_report.last(); });
    act("btnInsert", [this] { m_report.insert(); });
    // Deleting a settings record asks nothing.
    act("btnDelete", [this] {
        if (m_report.state() == TTable::State::Insert)
            m_report.cancel();
        else if (!m_report.isEmpty())
            m_report.remove();
    });
    act("btnEdit", [this] {
        if (!m_report.editing() && !m_report.isEmpty())
            m_report.edit();
    });
    act("btnPost", [this] {
        if (m_report.editing())
            m_report.post();
    });
    act("btnCancel", [this] {
        if (m_report.editing())
            m_report.cancel();
    });
    act("btnRefresh", [this] {
        m_report.checkBrowseMode();
        m_report.refresh();
    });
    left->addWidget(nav);

    m_grid = new CursorGrid(&m_report, panel);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setReadOnly(false);
    m_grid->setColumns({CursorModel::Column(fld::Name, QStringLiteral("Наименование отчета"))});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setFixedHeight(110);
    left->addWidget(m_grid);
    layout->addLayout(left, 1);

    auto *help = new QPushButton(QStringLiteral("Справка"), panel);
    help->setObjectName(QStringLiteral("btnHelp"));
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });
    auto *right = new QVBoxLayout;
    right->addWidget(help);
    right->addStretch();
    layout->addLayout(right);
    return panel;
}

QWidget *TParRepFm::flagBoxFor(ReportFlag flag, QWidget *parent, int indent)
{
    const ReportFlagInfo &info = reportFlagInfo(flag);
    auto *box = new QCheckBox(info.caption, parent);
    box->setObjectName(info.checkBox);
    box->setMouseTracking(true);
    box->installEventFilter(this);
    connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) { flagClicked(flag, checked); });
    m_boxes[size_t(flag)] = box;
    if (indent == 0)
        return box;
    auto *row = new QWidget(parent);
    auto *l = new QHBoxLayout(row);
    l->setContentsMargins(indent * 20, 0, 0, 0);
    l->addWidget(box);
    return row;
}

QWidget *TParRepFm::buildContentsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsContents"));
    auto *layout = new QHBoxLayout(page);

    auto *flags = new QVBoxLayout;
    flags->addWidget(flagBoxFor(ReportFlag::ProjName, page, 0));
    flags->addWidget(flagBoxFor(ReportFlag::ProjHar, page, 0));
    flags->addWidget(buildFrontBoxes(page));
    auto *inner = new QTabWidget(page);
    inner->setObjectName(QStringLiteral("PageControl2"));
    for (auto [tab, caption] : {std::pair{ReportFlagTab::WithoutCompensation, "Без компенсации"},
                                std::pair{ReportFlagTab::WithCompensation, "С компенсацией"}}) {
        auto *p = new QWidget(inner);
        auto *l = new QVBoxLayout(p);
        l->setSpacing(1);
        for (const ReportFlagInfo &f : reportFlags()) {
            if (f.tab != tab)
                continue;
            int depth = 0;
            for (std::optional<ReportFlag> m = f.main; m; m = reportFlagInfo(*m).main)
                ++depth;
            l->addWidget(flagBoxFor(f.flag, p, depth));
        }
        if (tab == ReportFlagTab::WithCompensation) {
            l->addWidget(buildEconomicsBox(p));
            l->addWidget(buildResonanceBox(p));
        }
        l->addStretch();
        // The boxes scroll on a low screen rather than push the window's buttons off it.
        auto *scroll = new QScrollArea(inner);
        scroll->setWidget(p);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        inner->addTab(scroll, QString::fromUtf8(caption));
    }
    flags->addWidget(inner, 1);
    layout->addLayout(flags, 3);

    auto *sample = new QVBoxLayout;
    m_chkSample = new QCheckBox(QStringLiteral("Образец."), page);
    m_chkSample->setObjectName(QStringLiteral("chkSample"));
    m_chkSample->setChecked(true);
    connect(m_chkSample, &QCheckBox::clicked, this, &TParRepFm::chkSampleClicked);
    sample->addWidget(m_chkSample);
    auto *noteRow = new QHBoxLayout;
    auto *noteCaption = new QLabel(QStringLiteral("Примечание:"), page);
    noteCaption->setObjectName(QStringLiteral("lblNoteCaption"));
    m_note = new QLabel(page);
    m_note->setObjectName(QStringLiteral("lblNote"));
    noteRow->addWidget(noteCaption);
    noteRow->addWidget(m_note, 1);
    sample->addLayout(noteRow);
    auto *scroll = new QScrollArea(page);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("imgSample"));
    m_picture->setScaledContents(true);
    scroll->setWidget(m_picture);
    scroll->setWidgetResizable(false);
    sample->addWidget(scroll, 1);
    layout->addLayout(sample, 2);
    return page;
}

QWidget *TParRepFm::buildFrontBoxes(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    m_summary = new QCheckBox(QStringLiteral("Сводка по вариантам с рекомендуемым вариантом (первая страница)"), panel);
    m_summary->setObjectName(QStringLiteral("chkSummary"));
    m_contents = new QCheckBox(QStringLiteral("Содержание (по заголовкам отчета)"), panel);
    m_contents->setObjectName(QStringLiteral("chkContents"));
    for (QCheckBox *box : {m_summary, m_contents}) {
        connect(box, &QCheckBox::clicked, this, [this] { storeFront(); });
        layout->addWidget(box);
    }
    auto *group = new QGroupBox(QStringLiteral("Исполнитель"), panel);
    group->setObjectName(QStringLiteral("gbEngineer"));
    group->setToolTip(QStringLiteral("Печатается на первой странице отчета и записывается автором документа"));
    auto *grid = new QGridLayout(group);
    const char *captions[] = {"Ф. И. О.:", "Должность:", "Организация:"};
    const char *names[] = {"editEngineerName", "editEngineerPosition", "editEngineerOrganisation"};
    for (int i = 0; i < 3; ++i) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(QLatin1String(names[i]));
        edit->setMaxLength(100);
        auto *label = new QLabel(QString::fromUtf8(captions[i]), group);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        // Kept as typed: the record it belongs to may change without the field losing the focus.
        connect(edit, &QLineEdit::textEdited, this, [this] { storeEngineer(); });
        m_engineer[size_t(i)] = edit;
    }
    layout->addWidget(group);
    return panel;
}

qint64 TParRepFm::savedKod() const
{
    const bool any = m_report.active() && !m_report.isEmpty();
    return any && m_report.state() != TTable::State::Insert ? m_report.currentKod() : 0;
}

void TParRepFm::storeFront()
{
    const qint64 kod = savedKod();
    if (kod == 0)
        return;
    runGuarded([&] {
        Store::Transaction tx(m_data.store());
        setReportFront(m_data.store(), kod, {m_summary->isChecked(), m_contents->isChecked()});
        tx.commit();
    });
    loadRecord();
}

void TParRepFm::storeEngineer()
{
    const qint64 kod = savedKod();
    if (kod == 0 || m_loading)
        return;
    const ReportEngineer engineer{m_engineer[0]->text(), m_engineer[1]->text(), m_engineer[2]->text()};
    runGuarded([&] {
        if (reportEngineer(m_data.store(), kod).text() == engineer.text())
            return;
        Store::Transaction tx(m_data.store());
        setReportEngineer(m_data.store(), kod, engineer);
        tx.commit();
    });
}

QWidget *TParRepFm::buildResonanceBox(QWidget *parent)
{
    m_chkResonance = new QCheckBox(QStringLiteral("Проверка резонанса на высших гармониках."), parent);
    m_chkResonance->setObjectName(QStringLiteral("dbchkResonance"));
    m_chkResonance->setToolTip(QStringLiteral("После характеристики каждой установки - проверка резонанса с "
                                              "трансформатором (если заданы данные питания проекта)"));
    connect(m_chkResonance, &QCheckBox::clicked, this, [this](bool checked) {
        runGuarded([&] {
            Store::Transaction tx(m_report.store());
            resonance_tables::setReportFlag(m_report.store(), m_report.currentKod(), checked);
            tx.commit();
        });
        loadRecord();
    });
    return m_chkResonance;
}

QWidget *TParRepFm::buildEconomicsBox(QWidget *parent)
{
    m_econ = new QCheckBox(QStringLiteral("Экономическая эффективность (ЧДД, ВНД, дисконтированный срок окупаемости)"),
                           parent);
    m_econ->setObjectName(QStringLiteral("chkEconom"));
    connect(m_econ, &QCheckBox::clicked, this, [this](bool checked) {
        const qint64 kod = m_report.currentKod();
        if (kod == 0)
            return;
        runGuarded([&] {
            Store::Transaction tx(m_data.store());
            setEconomicsReportFlag(m_data.store(), kod, checked);
            tx.commit();
        });
        loadRecord();
    });
    // One step in, under the yearly characteristics with compensation.
    auto *row = new QWidget(parent);
    auto *l = new QHBoxLayout(row);
    l->setContentsMargins(20, 0, 0, 0);
    l->addWidget(m_econ);
    return row;
}

QWidget *TParRepFm::buildWordPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsWord"));
    auto *grid = new QGridLayout(page);

    auto radioGroup = [this, page](const char *name, const QString &title, const QString &field,
                                   const QList<ReportChoice> &choices) {
        auto *box = new QGroupBox(title, page);
        box->setObjectName(QLatin1String(name));
        auto *l = new QVBoxLayout(box);
        auto *group = new QButtonGroup(box);
        for (int i = 0; i < choices.size(); ++i) {
            auto *b = new QRadioButton(choices[i].caption, box);
            b->setObjectName(QLatin1String(name) + QString::number(i));
            group->addButton(b, i);
            l->addWidget(b);
        }
        l->addStretch();
        connect(group, &QButtonGroup::idClicked, this,
                [this, field, choices](int id) { choiceClicked(field, choices, id); });
        m_choiceGroups.insert(field, group);
        return box;
    };
    grid->addWidget(radioGroup("rdgWordDoc", QStringLiteral(" Документ "), fld::WordDoc, wordDocChoices()), 0, 0);
    grid->addWidget(radioGroup("rdgPaperSize", QStringLiteral(" Размер бумаги "), fld::PaperSize, paperSizeChoices()),
                    0, 1);
    grid->addWidget(
        radioGroup("rdgPaperOrient", QStringLiteral(" Ориентация бумаги "), fld::PaperOrient, paperOrientChoices()), 1,
        0);
    grid->addWidget(radioGroup("rdgPageNum", QStringLiteral(" Нумерация страниц "), fld::PageNum, pageNumChoices()), 1,
                    1);

    auto *margins = new QGroupBox(QStringLiteral(" Поля, мм "), page);
    margins->setObjectName(QStringLiteral("grpMargins"));
    auto *ml = new QGridLayout(margins);
    int row = 0;
    for (const MarginDef &m : Margins) {
        const QString field = m.field;
        ml->addWidget(new QLabel(QString::fromUtf8(m.caption), margins), row, 0);
        auto *edit = new NumericEdit(NumericEdit::Whole, margins);
        edit->setObjectName(QStringLiteral("Edit") + field);
        edit->setFixedWidth(70);
        connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) { marginEdited(field, text); });
        edit->installEventFilter(this); // the check on leaving the field
        ml->addWidget(edit, row, 1);
        auto *steps = new QWidget(margins);
        steps->setObjectName(QStringLiteral("ud") + field);
        auto *sl = new QVBoxLayout(steps);
        sl->setContentsMargins(0, 0, 0, 0);
        sl->setSpacing(0);
        for (auto [name, arrow, up] : {std::tuple{"up", Qt::UpArrow, true}, std::tuple{"down", Qt::DownArrow, false}}) {
            auto *b = new QToolButton(steps);
            b->setObjectName(QLatin1String(name));
            b->setArrowType(arrow);
            b->setFixedSize(16, 11);
            b->setAutoRepeat(true);
            b->setFocusPolicy(Qt::NoFocus);
            b->setToolTip(stepHint(1));
            connect(b, &QToolButton::clicked, this, [this, field, up = up] { stepMargin(field, up); });
            sl->addWidget(b);
        }
        steps->setToolTip(stepHint(1));
        ml->addWidget(steps, row, 2);
        m_margins.insert(field, edit);
        ++row;
    }
    ml->setColumnStretch(3, 1);
    grid->addWidget(margins, 0, 2, 2, 1);
    grid->setRowStretch(2, 1);
    return page;
}

// ---- binding ---------------------------------------------------------------------------------

void TParRepFm::beginEdit()
{
    if (!m_report.editing())
        m_report.edit();
}

void TParRepFm::flagClicked(ReportFlag flag, bool checked)
{
    runGuarded([&] {
        beginEdit();
        ReportFlagValues values = ReportSettings::fromCurrentRecord(m_report).flags;
        // A main box unchecked while the record is edited clears the flags under it.
        ReportFlagValues after = values;
        if (subFlags(flag).isEmpty())
            after[size_t(flag)] = checked;
        else
            after = afterMainFlagChange(values, flag, checked, m_report.editing());
        for (int i = 0; i < ReportFlagCount; ++i) {
            const QString field = reportFlags()[i].field;
            if (i == int(flag) || after[size_t(i)] != values[size_t(i)])
                m_report.setValue(field, after[size_t(i)]);
        }
    });
    loadRecord();
}

void TParRepFm::choiceClicked(const QString &field, const QList<ReportChoice> &choices, int id)
{
    if (id < 0 || id >= choices.size())
        return;
    runGuarded([&] {
        beginEdit();
        m_report.setValue(field, choices[id].value);
    });
    loadRecord();
}

void TParRepFm::marginEdited(const QString &field, const QString &text)
{
    runGuarded([&] {
        beginEdit();
        m_report.setAsString(field, text);
    });
}

void TParRepFm::stepMargin(const QString &field, bool up)
{
    if (m_report.isEmpty() && !m_report.editing())
        return;
    runGuarded([&] {
        if (up)
            StepFieldUp(m_report, field, 1);
        else
            StepFieldDown(m_report, field, 1);
    });
    loadRecord();
}

void TParRepFm::loadRecord()
{
    if (m_loading)
        return;
    m_loading = true;
    const bool any = m_report.active() && (!m_report.isEmpty() || m_report.editing());
    const ReportSettings s = any ? ReportSettings::fromCurrentRecord(m_report) : ReportSettings{};
    const auto boxes = reportFlagBoxes(s.flags);
    for (int i = 0; i < ReportFlagCount; ++i) {
        QCheckBox *box = m_boxes[size_t(i)];
        const QSignalBlocker block(box);
        box->setChecked(boxes[size_t(i)].checked);
        box->setEnabled(any && boxes[size_t(i)].enabled);
    }
    {
        // Kept by the record's key: a record not yet stored has none to keep it by.
        const qint64 kod = m_report.state() == TTable::State::Insert || !any ? 0 : m_report.currentKod();
        const QSignalBlocker block(m_econ);
        bool on = false;
        runGuarded([&] { on = kod != 0 && economicsReportFlag(m_data.store(), kod); });
        m_econ->setChecked(on);
        m_econ->setToolTip(QStringLiteral("Пишется после годовых характеристик с компенсацией"));
        // Written under the yearly characteristics with compensation, so only with them.
        const auto yearly = boxes[size_t(ReportFlag::YearHarKomp)];
        m_econ->setEnabled(kod != 0 && yearly.enabled && yearly.checked);
    }
    {
        const qint64 kod = savedKod();
        ReportFront front;
        ReportEngineer engineer;
        runGuarded([&] {
            if (kod != 0) {
                front = reportFront(m_data.store(), kod);
                engineer = reportEngineer(m_data.store(), kod);
            }
        });
        for (auto [box, on] : {std::pair{m_summary, front.summary}, std::pair{m_contents, front.contents}}) {
            const QSignalBlocker block(box);
            box->setChecked(on);
            box->setEnabled(kod != 0);
        }
        const QString parts[] = {engineer.name, engineer.position, engineer.organisation};
        for (int i = 0; i < 3; ++i) {
            QLineEdit *edit = m_engineer[size_t(i)];
            const QSignalBlocker block(edit);
            if (edit->text() != parts[i] && !(edit->hasFocus() && edit->text().trimmed() == parts[i]))
                edit->setText(parts[i]);
            edit->setEnabled(kod != 0);
        }
    }
    const QHash<QString, QString> texts = {{fld::WordDoc, s.page.wordDoc},
                                           {fld::PaperSize, s.page.paperSize},
                                           {fld::PaperOrient, s.page.paperOrient},
                                           {fld::PageNum, s.page.pageNum}};
    const QHash<QString, const QList<ReportChoice> *> choices = {{fld::WordDoc, &wordDocChoices()},
                                                                 {fld::PaperSize, &paperSizeChoices()},
                                                                 {fld::PaperOrient, &paperOrientChoices()},
                                                                 {fld::PageNum, &pageNumChoices()}};
    for (auto it = m_choiceGroups.cbegin(); it != m_choiceGroups.cend(); ++it) {
        QButtonGroup *group = it.value();
        const QList<ReportChoice> &list = *choices.value(it.key());
        // A value that is none of the items leaves the group without a choice.
        group->setExclusive(false);
        for (int i = 0; i < list.size(); ++i) {
            QAbstractButton *b = group->button(i);
            const QSignalBlocker block(b);
            b->setChecked(any && list[i].value == texts.value(it.key()));
            b->setEnabled(any);
        }
        group->setExclusive(true);
    }
    for (auto it = m_margins.cbegin(); it != m_margins.cend(); ++it) {
        QLineEdit *edit = it.value();
        const QString text = any ? m_report.asString(it.key()) : QString();
        // The field being typed in keeps its text and caret while it means the same number.
        const bool same =
            edit->text() == text || (edit->hasFocus() && !text.isEmpty() && edit->text().toInt() == text.toInt());
        if (!same)
            edit->setText(text);
        edit->setEnabled(any);
    }
    if (m_chkResonance) {
        // A record not yet saved has no key to keep its switch under.
        const bool saved = any && m_report.currentKod() > 0 && m_report.state() != TTable::State::Insert;
        const QSignalBlocker block(m_chkResonance);
        m_chkResonance->setChecked(saved && resonance_tables::reportFlag(m_report.store(), m_report.currentKod()));
        m_chkResonance->setEnabled(saved);
    }
    updateNavigator();
    m_loading = false;
}

void TParRepFm::updateNavigator()
{
    const bool editing = m_report.editing();
    const bool empty = m_report.isEmpty();
    const int pos = m_report.recNo();
    const int count = m_report.recordCount();
    auto set = [this](const char *name, bool on) { m_navigator.value(QLatin1String(name))->setEnabled(on); };
    set("btnFirst", !empty && pos > 0);
    set("btnPrior", !empty && pos > 0);
    set("btnNext", !empty && pos < count - 1);
    set("btnLast", !empty && pos < count - 1);
    set("btnInsert", true);
    set("btnDelete", !empty || editing);
    set("btnEdit", !empty && !editing);
    set("btnPost", editing);
    set("btnCancel", editing);
    set("btnRefresh", true);
}

// ---- sample pictures -------------------------------------------------------------------------

void TParRepFm::showSample(const QString &checkBox)
{
    if (!m_chkSample->isChecked())
        return;
    QPixmap picture;
    if (reportSampleExists(checkBox))
        picture.load(reportSamplePath(checkBox));
    if (picture.isNull()) {
        blankSample();
        m_note->setText(reportSampleNote(checkBox, false));
    } else {
        m_picture->setPixmap(picture);
        m_picture->resize(picture.size());
        m_note->setText(reportSampleNote(checkBox, true));
    }
    m_sampleBox = checkBox;
}

void TParRepFm::blankSample()
{
    QPixmap blank(50, 50);
    blank.fill(palette().color(QPalette::Button));
    m_picture->setPixmap(blank);
    m_picture->resize(blank.size());
    m_sampleBox.clear();
}

void TParRepFm::chkSampleClicked(bool checked)
{
    if (!checked) {
        blankSample();
        m_note->clear();
    }
}

std::optional<QString> TParRepFm::marginProblem(const QString &field) const
{
    const bool any = m_report.active() && (!m_report.isEmpty() || m_report.editing());
    if (!any)
        return std::nullopt;
    // The same rule the export applies before it writes a page.
    const auto problem = checkPageMargin(ReportSettings::fromCurrentRecord(m_report).page, field);
    return problem ? std::optional<QString>(problem->message) : std::nullopt;
}

bool TParRepFm::checkMargin(const QString &field)
{
    const auto problem = marginProblem(field);
    if (!problem)
        return true;
    QScopedValueRollback guard(m_checkingMargin, true);
    QLineEdit *edit = m_margins.value(field);
    refuseAt(edit, *problem);
    if (edit)
        edit->selectAll();
    return false;
}

bool TParRepFm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_checkingMargin) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Focus that goes to another window (the message box itself, a menu) is not leaving the field.
        const QString field = m_margins.key(qobject_cast<QLineEdit *>(watched));
        if (!field.isEmpty() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible())
            checkMargin(field);
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove)
        if (auto *box = qobject_cast<QCheckBox *>(watched))
            showSample(box->objectName());
    return QDialog::eventFilter(watched, event);
}

void TParRepFm::done(int result)
{
    // The record current on closing is the next report's page: margins that leave no room for the
    // text keep the window open.
    for (const MarginDef &m : Margins)
        if (!checkMargin(m.field))
            return;
    runGuarded([this] { m_data.TableReport->checkBrowseMode(); });
    QDialog::done(result);
}

void TParRepFm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    loadRecord();
}

} // namespace korvan
