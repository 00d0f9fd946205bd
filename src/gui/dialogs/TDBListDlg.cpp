// TDBListDlg: the «Выбор из списка» window of TzqDBListDlg.
#include "gui/dialogs/TDBListDlg.h"

#include "core/Messages.h"
#include "gui/widgets/ListTabRow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvan {

namespace {

constexpr int MaxTabRows = 8;
constexpr int PageMargin = 4;
constexpr int PageWidth = 452;

QString upper(const QString &text) { return QLocale(QLocale::Russian).toUpper(text); }

QString rangeText(int maximum) { return QStringLiteral("(допустимые значения: 1 ..%1)").arg(maximum); }

} // namespace

TDBListDlg::TDBListDlg(const QStringList &values, QWidget *parent) : QDialog(parent), m_values(values)
{
    setObjectName(QStringLiteral("DBListDlg"));
    setWindowTitle(QStringLiteral("Выбор из списка."));
    for (const QString &v : m_values)
        m_longest = qMax(m_longest, int(v.size()));

    auto *layout = new QVBoxLayout(this);
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(buildListPage(), QStringLiteral("Список"));
    pages->addTab(buildParamsPage(), QStringLiteral("Параметры"));
    layout->addWidget(pages, 1);

    auto *buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("ОК"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setToolTip(QStringLiteral("Закрыть с сохранением результата выбора"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setToolTip(QStringLiteral("Закрыть без сохранения результата выбора"));
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setAttribute(Qt::WA_DeleteOnClose, false);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget *TDBListDlg::buildListPage()
{
    m_listPage = new QWidget(this);
    m_listPage->setObjectName(QStringLiteral("tsList"));
    m_listPage->setFixedSize(PageWidth + 2 * PageMargin, 250);

    m_tabs = new ListTabRow(m_listPage);
    m_tabs->setObjectName(QStringLiteral("TabControl1"));
    m_tabs->setToolTip(QStringLiteral("Закладка элементов списка"));
    connect(m_tabs, &ListTabRow::tabClicked, this, &TDBListDlg::chooseTab);

    m_list = new QListWidget(m_listPage);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setToolTip(QStringLiteral("Элементы списка"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(m_list, &QListWidget::itemClicked, this, &TDBListDlg::updateOk);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TDBListDlg::updateOk);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_list->currentItem() && m_list->currentItem()->isSelected())
            accept();
        else
            reject();
    });

    m_searchLabel = new QLabel(QStringLiteral("Поиск:"), m_listPage);
    m_search = new QLineEdit(m_listPage);
    m_search->setObjectName(QStringLiteral("EditSearch"));
    connect(m_search, &QLineEdit::textChanged, this, &TDBListDlg::search);
    layoutPage();
    return m_listPage;
}

QWidget *TDBListDlg::buildParamsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsParams"));
    auto *layout = new QVBoxLayout(page);

    auto spin = [page](const char *name, const QString &hint) {
        auto *s = new QSpinBox(page);
        s->setObjectName(QLatin1String(name));
        s->setToolTip(hint);
        s->setMinimum(1);
        // Changed only by the arrows.
        s->findChild<QLineEdit *>()->setReadOnly(true);
        s->setFixedWidth(60);
        return s;
    };

    auto *tabGroup = new QGroupBox(QStringLiteral("Закладка"), page);
    auto *tg = new QGridLayout(tabGroup);
    m_multiLine = new QCheckBox(QStringLiteral("Многострочная (не более 8 строк)"), tabGroup);
    m_multiLine->setObjectName(QStringLiteral("chkMultiLine"));
    m_multiLine->setToolTip(QStringLiteral("Создание многострочной закладки по элементам списка"));
    tg->addWidget(m_multiLine, 0, 0, 1, 3);
    m_firstChar = spin("seFirstChar",
                       QStringLiteral("Номер первого символа элементов списка, начиная с которого создается закладка"));
    m_firstCharRange = new QLabel(tabGroup);
    m_firstCharRange->setObjectName(QStringLiteral("lblFirstCharRange"));
    tg->addWidget(new QLabel(QStringLiteral("Номер первого  символа:"), tabGroup), 1, 0);
    tg->addWidget(m_firstChar, 1, 1);
    tg->addWidget(m_firstCharRange, 1, 2);
    m_charCount = spin("seCharCount", QStringLiteral("Количество символов в создаваемой закладке"));
    m_charCountRange = new QLabel(tabGroup);
    m_charCountRange->setObjectName(QStringLiteral("lblCharCountRange"));
    tg->addWidget(new QLabel(QStringLiteral("Количество символов:"), tabGroup), 2, 0);
    tg->addWidget(m_charCount, 2, 1);
    tg->addWidget(m_charCountRange, 2, 2);
    layout->addWidget(tabGroup);

    auto *listGroup = new QGroupBox(QStringLiteral("Список"), page);
    auto *lg = new QGridLayout(listGroup);
    m_colCount = spin("seColCount", QStringLiteral("Количество колонок в списке"));
    m_colCount->setRange(1, 10);
    lg->addWidget(new QLabel(QStringLiteral("Количество колонок:"), listGroup), 0, 0);
    lg->addWidget(m_colCount, 0, 1);
    lg->addWidget(new QLabel(rangeText(10), listGroup), 0, 2);
    auto *caseBox = new QGroupBox(QStringLiteral("Регистр элементов списка"), listGroup);
    caseBox->setObjectName(QStringLiteral("rdgCase"));
    caseBox->setToolTip(QStringLiteral("Регистр символов элементов списка"));
    auto *cl = new QHBoxLayout(caseBox);
    m_case = new QButtonGroup(caseBox);
    const QStringList cases = {QStringLiteral("по умолчанию"), QStringLiteral("верхний регистр"),
                               QStringLiteral("нижний регистр")};
    for (int i = 0; i < cases.size(); ++i) {
        auto *b = new QRadioButton(cases[i], caseBox);
        b->setObjectName(QStringLiteral("rdgCase%1").arg(i));
        m_case->addButton(b, i);
        cl->addWidget(b);
    }
    m_case->button(0)->setChecked(true);
    lg->addWidget(caseBox, 1, 0, 1, 3);
    layout->addWidget(listGroup);
    layout->addStretch();

    connect(m_case, &QButtonGroup::idClicked, this, [this] {
        if (m_tabs->count() > 0)
            chooseTab(qMax(0, m_tabs->currentIndex()));
    });
    connect(m_colCount, &QSpinBox::valueChanged, this, &TDBListDlg::setListColumns);
    connect(m_firstChar, &QSpinBox::valueChanged, this, &TDBListDlg::firstOrCountChanged);
    connect(m_charCount, &QSpinBox::valueChanged, this, &TDBListDlg::firstOrCountChanged);
    connect(m_multiLine, &QCheckBox::clicked, this, &TDBListDlg::multiLineClicked);
    return page;
}

void TDBListDlg::setParameters(bool multiLine, int firstCharNo, int charCount, int colCount, TListCase listCase)
{
    const QSignalBlocker b1(m_firstChar), b2(m_charCount), b3(m_colCount), b4(m_multiLine);
    m_multiLine->setChecked(multiLine);
    m_tabs->setMultiLine(multiLine);
    // The fields' ranges are set on activation; until then they take any positive value.
    m_firstChar->setMaximum(qMax(firstCharNo, qMax(1, m_longest)));
    m_firstChar->setValue(qMax(1, firstCharNo));
    m_charCount->setMaximum(qMax(charCount, qMax(1, m_longest)));
    m_charCount->setValue(qMax(1, charCount));
    m_colCount->setValue(qBound(1, colCount, 10));
    setListColumns(m_colCount->value());
    m_case->button(int(listCase))->setChecked(true);
}

TListCase TDBListDlg::listCase() const { return TListCase(qMax(0, m_case->checkedId())); }
int TDBListDlg::firstCharNo() const { return m_firstChar->value(); }

QString TDBListDlg::shown(const QString &text) const
{
    switch (listCase()) {
    case TListCase::lcUpperCase:
        return upper(text);
    case TListCase::lcLowerCase:
        return QLocale(QLocale::Russian).toLower(text);
    default:
        return text;
    }
}

QString TDBListDlg::tabKey(const QString &text, int firstCharNo, int charCount)
{
    if (firstCharNo < 1 || text.size() < firstCharNo)
        return {};
    return upper(text).mid(firstCharNo - 1, charCount);
}

QString TDBListDlg::selectedText() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TDBListDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TDBListDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    setListColumns(m_columns);
}

void TDBListDlg::FormActivate()
{
    buildTabsAndList();
    {
        const QSignalBlocker block(m_firstChar);
        m_firstChar->setMaximum(qMax(1, m_longest));
        m_firstCharRange->setText(rangeText(m_longest));
    }
    updateCharCountRange();
    layoutPage();
    updateOk();
}

void TDBListDlg::updateCharCountRange()
{
    const int maximum = qMax(1, m_longest - firstCharNo() + 1);
    const QSignalBlocker block(m_charCount);
    m_charCount->setMaximum(maximum);
    m_charCountRange->setText(rangeText(m_longest - firstCharNo() + 1));
}

void TDBListDlg::buildTabsAndList()
{
    QStringList keys;
    for (const QString &v : m_values) {
        const QString key = tabKey(v, firstCharNo(), m_charCount->value());
        if (!key.isEmpty() && !keys.contains(key))
            keys << key;
    }
    std::sort(keys.begin(), keys.end(),
              [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    m_tabs->setTabWidth(m_charCount->value() > 2 ? m_charCount->value() * 10 : 25);
    m_tabs->setTabs(QStringList{QStringLiteral("А-Я")} + keys);
    m_list->clear();
    for (const QString &v : m_values)
        m_list->addItem(shown(v));
    const QSignalBlocker block(m_search);
    m_search->clear();
}

void TDBListDlg::chooseTab(int index)
{
    m_tabs->setCurrentIndex(index);
    m_list->clear();
    if (index <= 0) {
        for (const QString &v : m_values)
            m_list->addItem(shown(v));
        m_search->clear();
    } else {
        // A text belongs to the tab whose text it holds first at the first-character position.
        const QString tab = m_tabs->currentText();
        for (const QString &v : m_values)
            if (upper(v).indexOf(tab) == firstCharNo() - 1)
                m_list->addItem(shown(v));
        m_search->setText(tab);
    }
    updateOk();
}

void TDBListDlg::search(const QString &text)
{
    if (text.isEmpty())
        return;
    const QString wanted = upper(text);
    for (int i = 0; i < m_list->count(); ++i) {
        if (upper(m_list->item(i)->text()).indexOf(wanted) == firstCharNo() - 1) {
            m_list->setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            m_list->scrollToItem(m_list->item(i));
            updateOk();
            m_search->setCursorPosition(int(text.size()));
            return;
        }
    }
}

void TDBListDlg::firstOrCountChanged()
{
    if (!m_activated)
        return;
    buildTabsAndList();
    if (m_tabs->multiLine() && m_tabs->rowsWhenWrapped() > MaxTabRows) {
        Messages::warning(QStringLiteral("Внимание.\nКоличество строк в закладке превысило допустимое значение (8).\n"
                                         "Закладка будет однострочной."));
        m_multiLine->setChecked(false);
        m_tabs->setMultiLine(false);
    }
    layoutPage();
    updateCharCountRange();
    updateOk();
}

void TDBListDlg::multiLineClicked(bool on)
{
    m_tabs->setMultiLine(on);
    if (on && m_tabs->rowsWhenWrapped() > MaxTabRows) {
        Messages::warning(QStringLiteral("Внимание. Количество строк в закладке превысило допустимое значение (8).\n"
                                         "Закладка будет однострочной."));
        m_multiLine->setChecked(false);
        m_tabs->setMultiLine(false);
    }
    layoutPage();
}

void TDBListDlg::layoutPage()
{
    const int rows = m_tabs->rowCount();
    m_tabs->setGeometry(PageMargin, PageMargin, PageWidth, rows * ListTabRow::RowHeight + 7);
    m_list->setGeometry(PageMargin, rows * ListTabRow::RowHeight + 12, PageWidth, 203 - rows * ListTabRow::RowHeight);
    m_searchLabel->setGeometry(PageMargin, 222, 50, 22);
    m_search->setGeometry(PageMargin + 54, 222, PageWidth - 54, 22);
    setListColumns(m_columns);
}

void TDBListDlg::setListColumns(int columns)
{
    m_columns = qBound(1, columns, 10);
    const int width = qMax(20, m_list->viewport()->width() / m_columns);
    m_list->setGridSize(QSize(width, m_list->fontMetrics().height() + 2));
}

void TDBListDlg::updateOk()
{
    const QListWidgetItem *item = m_list->currentItem();
    m_ok->setEnabled(item && item->isSelected());
}

} // namespace korvan
