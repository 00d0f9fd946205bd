// TzqFilterTabControl: letter tabs that filter a table by its text field.
#include "gui/widgets/TzqFilterTabControl.h"
#include "core/data/Fields.h"

#include "core/Messages.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/dialogs/TabParamsDialog.h"
#include "gui/dialogs/TabSelectDialog.h"
#include "gui/ui/CommandGuard.h"

#include <QCollator>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace korvan {

namespace {

// Tabs at least as wide as the control's tab width; wider only where the style needs room for
// the caption.
class FilterTabBar : public QTabBar {
public:
    explicit FilterTabBar(QWidget *parent) : QTabBar(parent) {}
    int fixedWidth = 0;

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize s = QTabBar::tabSizeHint(index);
        if (fixedWidth > 0)
            s.setWidth(qMax(fixedWidth, s.width()));
        return s;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

} // namespace

TzqFilterTabControl::TzqFilterTabControl(QWidget *parent)
    : QWidget(parent), m_tabs(new FilterTabBar(this)), m_layout(new QVBoxLayout(this)), m_menu(new QMenu(this))
{
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setDrawBase(true);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_tabs);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] {
        if (!m_changing)
            runGuarded([this] { applyTab(); });
    });

    auto add = [this](const char *name, const QString &text, void (TzqFilterTabControl::*slot)()) {
        QAction *a = m_menu->addAction(text, this, slot);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    m_popOn = add("popOn", QStringLiteral("Стандартный режим"), &TzqFilterTabControl::popOnClick);
    m_popCreate = add("popCreate", QStringLiteral("Обновление набора закладок"), &TzqFilterTabControl::popCreateClick);
    m_popAutoRefresh = add("popAutoRefresh", QStringLiteral("Автообновление набора закладок"),
                           &TzqFilterTabControl::popAutoRefreshClick);
    m_popAutoRefresh->setCheckable(true);
    m_popParam = add("popParam", QStringLiteral("Параметры закладки..."), &TzqFilterTabControl::popParamClick);
    m_popFindTab = add("popFindTab", QStringLiteral("Поиск закладки..."), &TzqFilterTabControl::popFindTabClick);
    m_popSelectTab = add("popSelectTab", QStringLiteral("Выбор закладки..."), &TzqFilterTabControl::popSelectTabClick);
    m_popInfo = add("popInfo", QStringLiteral("Информация..."), &TzqFilterTabControl::popInfoClick);
    updateMenu();
}

// ---- binding ---------------------------------------------------------------------------------

void TzqFilterTabControl::setDataSource(TTable *table)
{
    if (m_table)
        disconnect(m_table, nullptr, this, nullptr);
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_table = table;
    m_master = table ? table->master() : nullptr;
    m_opened = false;
    if (!table)
        return;
    connect(table, &TTable::stateChanged, this, [this] { runGuarded([this] { onStateChanged(); }); });
    connect(table, &TTable::rowsChanged, this, [this] { runGuarded([this] { onRowsChanged(); }); });
    if (m_master)
        connect(m_master, &TTable::currentChanged, this, [this] { runGuarded([this] { onMasterChanged(); }); });
    m_lastState = table->state();
    if (ready())
        onTableOpened();
}

void TzqFilterTabControl::setDataField(const QString &field)
{
    m_field = field;
    if (m_table && !m_opened && ready())
        onTableOpened();
}

bool TzqFilterTabControl::ready() const { return m_table && m_table->active() && !m_field.isEmpty(); }

bool TzqFilterTabControl::following() const { return m_autoRefresh && m_autoInclude && !m_changing && m_opened; }

void TzqFilterTabControl::setAutoRefresh(bool on)
{
    m_autoRefresh = on;
    updateMenu();
}

void TzqFilterTabControl::setAutoInclude(bool on)
{
    if (m_autoInclude == on)
        return;
    m_autoInclude = on;
    if (!m_opened) {
        updateMenu();
        return;
    }
    if (on) {
        RebuildTabs();
    } else {
        QScopedValueRollback guard(m_changing, true);
        setTabWidth(0);
        setTabs(m_designTabs);
        // The table's own filter, as it was when it was opened.
        m_table->setFilterCaseInsensitive(m_savedCaseInsensitive);
        m_table->setFilter(m_savedFilter);
        if (m_table->filtered() != m_savedFiltered)
            m_table->setFiltered(m_savedFiltered);
        m_recordCount = m_table->recordCount();
    }
    updateMenu();
}

void TzqFilterTabControl::setPage(QWidget *page)
{
    if (m_page)
        m_layout->removeWidget(m_page);
    m_page = page;
    if (page) {
        page->setParent(this);
        m_layout->addWidget(page, 1);
    }
}

void TzqFilterTabControl::onTableOpened()
{
    m_opened = true;
    m_savedFilter = m_table->filter();
    m_savedFiltered = m_table->filtered();
    m_savedCaseInsensitive = m_table->filterCaseInsensitive();
    m_designTabs = tabCaptions();
    if (m_designTabs.isEmpty())
        m_designTabs << QString();
    if (m_autoInclude)
        RebuildTabs();
    else
        setTabs(m_designTabs);
    updateMenu();
}

// ---- tabs ------------------------------------------------------------------------------------

QStringList TzqFilterTabControl::tabCaptions() const
{
    QStringList out;
    for (int i = 0; i < m_tabs->count(); ++i)
        out << m_tabs->tabText(i);
    return out;
}

int TzqFilterTabControl::tabIndexOf(const QString &caption) const
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabText(i) == caption)
            return i;
    return -1;
}

void TzqFilterTabControl::setTabs(const QStringList &captions)
{
    QScopedValueRollback guard(m_changing, true);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(m_tabs->count() - 1);
    for (const QString &c : captions)
        m_tabs->addTab(c);
    m_tabs->setCurrentIndex(captions.isEmpty() ? -1 : 0);
}

void TzqFilterTabControl::setTabWidth(int width)
{
    m_tabWidth = width;
    static_cast<FilterTabBar *>(m_tabs)->fixedWidth = width;
    // A tab bar caches its tab sizes; re-setting a caption makes it measure them again.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabText(i, m_tabs->tabText(i));
    m_tabs->updateGeometry();
}

QString TzqFilterTabControl::keyOf(const QString &text) const
{
    const QString key = text.left(m_charCount);
    return m_caseInsensitive ? key.toUpper() : key;
}

QString TzqFilterTabControl::currentText() const
{
    const int position = m_table->fieldIndex(m_field);
    return m_table->valueText(position, m_table->value(position));
}

bool TzqFilterTabControl::keyLess(const QString &a, const QString &b) const
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

int TzqFilterTabControl::insertKeyTab(const QString &key)
{
    QScopedValueRollback guard(m_changing, true);
    int at = 1;
    while (at < m_tabs->count() && !keyLess(key, m_tabs->tabText(at)))
        ++at;
    m_tabs->insertTab(at, key);
    return at;
}

void TzqFilterTabControl::RebuildTabs()
{
    if (!ready())
        return;
    QScopedValueRollback guard(m_changing, true);
    if (m_table->filtered())
        m_table->setFiltered(false);
    m_counts.clear();
    QStringList keys;
    const int position = m_table->fieldIndex(m_field);
    // The rows are read in place: the cursor stays where it is.
    for (const TTable::Row &row : m_table->rows()) {
        const QString key = keyOf(m_table->valueText(position, row[position]));
        if (!m_counts.contains(key))
            keys << key;
        ++m_counts[key];
    }
    std::sort(keys.begin(), keys.end(), [this](const QString &a, const QString &b) { return keyLess(a, b); });
    setTabs(QStringList{AllTab} + keys);
    setTabWidth(m_charCount > 2 ? m_charCount * 10 : 25);
    applyTab();
}

void TzqFilterTabControl::selectTab(int index)
{
    if (index < 0 || index >= m_tabs->count())
        return;
    {
        QScopedValueRollback guard(m_changing, true);
        m_tabs->setCurrentIndex(index);
    }
    applyTab();
}

void TzqFilterTabControl::applyTab()
{
    if (!ready() || !m_autoInclude)
        return;
    QScopedValueRollback guard(m_changing, true);
    const int index = m_tabs->currentIndex();
    const QString caption = index >= 0 ? m_tabs->tabText(index) : AllTab;
    if (index <= 0 && caption == AllTab) {
        // All records. A table already unfiltered keeps its current record.
        if (m_table->filtered())
            m_table->setFiltered(false);
        if (!m_table->filter().isEmpty())
            m_table->setFilter(QString());
    } else {
        const QString expression = caption.isEmpty() ? QStringLiteral("[%1]=Null").arg(m_field)
                                                     : QStringLiteral("[%1]='%2*'").arg(m_field, caption);
        m_table->setFilterCaseInsensitive(m_caseInsensitive);
        m_table->setFilter(expression);
        if (!m_table->filtered())
            m_table->setFiltered(true);
    }
    m_recordCount = m_table->recordCount();
}

void TzqFilterTabControl::goToRecord(qint64 kod)
{
    if (kod != 0 && m_table->currentKod() != kod)
        m_table->locate(fld::Kod, kod);
}

// ---- following the table ---------------------------------------------------------------------

void TzqFilterTabControl::onStateChanged()
{
    if (!m_table)
        return;
    const TTable::State state = m_table->state();
    const TTable::State previous = m_lastState;
    m_lastState = state;
    if (!following())
        return;
    if (state == TTable::State::Edit) {
        m_oldKey = keyOf(currentText());
    } else if (state == TTable::State::Browse) {
        // A cancelled insert leaves the count as it was; a posted one raised it.
        if (previous == TTable::State::Insert && m_table->recordCount() > m_recordCount)
            newRecordPosted();
        else if (previous == TTable::State::Edit)
            editedRecordPosted();
    }
}

void TzqFilterTabControl::newRecordPosted()
{
    QScopedValueRollback guard(m_changing, true);
    const QString key = keyOf(currentText());
    const qint64 kod = m_table->currentKod();
    int index = tabIndexOf(key);
    if (index < 0)
        index = insertKeyTab(key);
    if (m_tabs->currentIndex() != 0) {
        m_tabs->setCurrentIndex(index);
        applyTab();
        goToRecord(kod);
    }
    ++m_counts[key];
    m_recordCount = m_table->recordCount();
}

void TzqFilterTabControl::editedRecordPosted()
{
    const QString key = keyOf(currentText());
    if (key == m_oldKey)
        return;
    QScopedValueRollback guard(m_changing, true);
    const qint64 kod = m_table->currentKod();
    const bool allSelected = m_tabs->currentIndex() == 0;
    if (tabIndexOf(key) < 0)
        insertKeyTab(key);
    ++m_counts[key];
    if (--m_counts[m_oldKey] <= 0) {
        m_counts.remove(m_oldKey);
        const int old = tabIndexOf(m_oldKey);
        if (old > 0)
            m_tabs->removeTab(old);
    }
    if (allSelected) {
        m_tabs->setCurrentIndex(0);
    } else {
        m_tabs->setCurrentIndex(tabIndexOf(key));
        applyTab();
        goToRecord(kod);
    }
    m_recordCount = m_table->recordCount();
}

void TzqFilterTabControl::onRowsChanged()
{
    if (!m_table)
        return;
    if (!m_opened) {
        if (ready())
            onTableOpened();
        return;
    }
    if (!following() || m_table->editing())
        return;
    const int count = m_table->recordCount();
    if (count < m_recordCount) {
        recordDeleted();
    } else if (count > m_recordCount) {
        // Rows that came in through another cursor (a copied project, a re-read): with all
        // records shown, the tabs are built again so that they include them.
        if (m_tabs->currentIndex() == 0) {
            const qint64 kod = m_table->currentKod();
            RebuildTabs();
            goToRecord(kod);
        }
        m_recordCount = m_table->recordCount();
    }
}

void TzqFilterTabControl::recordDeleted()
{
    QScopedValueRollback guard(m_changing, true);
    if (m_tabs->currentIndex() == 0) {
        const qint64 kod = m_table->currentKod();
        RebuildTabs();
        goToRecord(kod);
    } else {
        const QString key = m_tabs->tabText(m_tabs->currentIndex());
        if (--m_counts[key] <= 0)
            m_counts.remove(key);
        if (m_table->isEmpty()) {
            m_tabs->removeTab(m_tabs->currentIndex());
            m_tabs->setCurrentIndex(0);
            applyTab();
        }
    }
    m_recordCount = m_table->recordCount();
}

void TzqFilterTabControl::onMasterChanged()
{
    if (following() && m_master && m_master->state() == TTable::State::Browse)
        RebuildTabs();
}

// ---- the menu --------------------------------------------------------------------------------

void TzqFilterTabControl::updateMenu()
{
    m_popOn->setText(m_autoInclude ? QStringLiteral("Стандартный режим") : QStringLiteral("Режим фильтрации"));
    for (QAction *a : {m_popCreate, m_popAutoRefresh, m_popParam, m_popFindTab, m_popSelectTab, m_popInfo})
        a->setVisible(m_autoInclude);
    m_popAutoRefresh->setChecked(m_autoRefresh);
}

void TzqFilterTabControl::contextMenuEvent(QContextMenuEvent *event)
{
    updateMenu();
    m_menu->popup(event->globalPos());
    event->accept();
}

void TzqFilterTabControl::popOnClick()
{
    runGuarded([this] { setAutoInclude(!m_autoInclude); });
}

void TzqFilterTabControl::popCreateClick()
{
    runGuarded([this] { RebuildTabs(); });
}

void TzqFilterTabControl::popAutoRefreshClick()
{
    setAutoRefresh(!m_autoRefresh);
    runGuarded([this] { RebuildTabs(); });
}

void TzqFilterTabControl::popParamClick()
{
    auto *dialog = new TabParamsDialog(textFields(), m_field, m_charCount, m_caseInsensitive, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    openModal(dialog, [this, dialog](int result) {
        if (result == QDialog::Accepted)
            runGuarded([&] { setParameters(dialog->field(), dialog->charCount(), dialog->caseInsensitive()); });
    });
}

void TzqFilterTabControl::popFindTabClick()
{
    auto *dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("FindTabDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Введите наименование закладки."));
    dialog->setLabelText(QStringLiteral("Наименование закладки:"));
    dialog->setTextValue(m_tabs->currentIndex() >= 0 ? m_tabs->tabText(m_tabs->currentIndex()) : QString());
    dialog->setOkButtonText(QStringLiteral("OK"));
    dialog->setCancelButtonText(QStringLiteral("Отмена"));
    openModal(dialog, [this, dialog](int result) {
        if (result == QDialog::Accepted)
            runGuarded([&] { findTab(dialog->textValue()); });
    });
}

void TzqFilterTabControl::popSelectTabClick()
{
    auto *dialog = new TabSelectDialog(tabCaptions(), m_tabs->currentIndex(), m_tabWidth > 0 ? m_tabWidth : 25, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    openModal(dialog, [this, dialog](int result) {
        if (result == QDialog::Accepted)
            runGuarded([&] { selectTab(dialog->selectedIndex()); });
    });
}

void TzqFilterTabControl::popInfoClick() { Messages::information(countsText()); }

bool TzqFilterTabControl::findTab(const QString &name)
{
    int found = tabIndexOf(name);
    if (found < 0)
        for (int i = 0; i < m_tabs->count() && found < 0; ++i)
            if (m_tabs->tabText(i).toUpper().startsWith(name.toUpper()))
                found = i;
    if (found < 0) {
        Messages::error(QStringLiteral("Ошибка.\nЗакладка '") + name + QStringLiteral("'") +
                        QStringLiteral(" не найдена."));
        return false;
    }
    selectTab(found);
    return true;
}

QString TzqFilterTabControl::countsText() const
{
    QString text = QStringLiteral("Количество записей, соответствующих каждой закладке:\n\n");
    int total = 0;
    QStringList parts;
    for (int i = 1; i < m_tabs->count(); ++i) {
        const QString key = m_tabs->tabText(i);
        const int n = m_counts.value(key);
        parts << QStringLiteral("'") + key + QStringLiteral("'") + QStringLiteral(" - ") + QString::number(n);
        total += n;
    }
    if (!parts.isEmpty())
        text += parts.join(QStringLiteral(";  ")) + QStringLiteral(".  ");
    return text + QStringLiteral("\n\n") + QStringLiteral("Всего записей - ") + QString::number(total);
}

void TzqFilterTabControl::setParameters(const QString &field, int charCount, bool caseInsensitive)
{
    m_charCount = qBound(1, charCount, 10);
    m_field = field;
    m_caseInsensitive = caseInsensitive;
    RebuildTabs();
}

QStringList TzqFilterTabControl::textFields() const
{
    QStringList out;
    if (m_table)
        for (int i = 0; i < m_table->fieldCount(); ++i)
            if (m_table->fieldDef(i).type == FieldType::String)
                out << m_table->fieldName(i);
    return out;
}

} // namespace korvan
