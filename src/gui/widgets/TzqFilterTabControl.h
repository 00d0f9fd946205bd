// TzqFilterTabControl: letter tabs that filter a table by its text field.
#pragma once

#include "core/data/TTable.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QAction;
class QMenu;
class QTabBar;
class QVBoxLayout;

namespace korvan {

// Letter tabs over a table: the first tab "А-Я" shows every record, each further tab the records
// whose text field begins with the tab's caption (its first CharCount characters). The tabs
// follow the records posted and deleted through the bound cursor. Its context menu refreshes
// the tabs, changes their parameters, finds or picks a tab, counts the records of each tab and
// switches to a standard mode in which the control is a plain tab control over the table's own
// filter.
class TzqFilterTabControl : public QWidget {
    Q_OBJECT
public:
    static inline const QString AllTab = QStringLiteral("А-Я");

    explicit TzqFilterTabControl(QWidget *parent = nullptr);

    // Binding: the table and its text field. The tabs are built when both are set and the table
    // is open.
    void setDataSource(TTable *table);
    TTable *dataSource() const { return m_table; }
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }

    void setCharCount(int count) { m_charCount = qMax(1, count); }
    int charCount() const { return m_charCount; }
    void setCaseInsensitive(bool on) { m_caseInsensitive = on; }
    bool caseInsensitive() const { return m_caseInsensitive; }
    void setAutoRefresh(bool on);
    bool autoRefresh() const { return m_autoRefresh; }
    // Filtering mode (true) or standard mode.
    void setAutoInclude(bool on);
    bool autoInclude() const { return m_autoInclude; }

    // The widget shown under the tabs (the grid of the records).
    void setPage(QWidget *page);
    QTabBar *tabBar() const { return m_tabs; }
    QStringList tabCaptions() const;
    // The tab width in pixels, 0 for automatic (standard mode).
    int tabWidth() const { return m_tabWidth; }
    // How many records have this key, by the last count.
    int keyCount(const QString &key) const { return m_counts.value(key); }

    // Builds the tabs anew from all the records and selects the first.
    void RebuildTabs();
    // Selects a tab and filters the table by it.
    void selectTab(int index);
    // The tab search of the menu: the caption equal to the name, else the first that begins with
    // it (letter case aside); the error message when none does.
    bool findTab(const QString &name);
    // The records per tab, as the menu's "Информация..." shows them.
    QString countsText() const;
    // The tab parameters of the menu's dialog; the tabs are rebuilt.
    void setParameters(const QString &field, int charCount, bool caseInsensitive);
    // The table's text fields, those the tabs can be formed from.
    QStringList textFields() const;

    QMenu *popupMenu() const { return m_menu; }

public slots:
    void popOnClick();
    void popCreateClick();
    void popAutoRefreshClick();
    void popParamClick();
    void popFindTabClick();
    void popSelectTabClick();
    void popInfoClick();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool ready() const;
    bool following() const;
    QString keyOf(const QString &text) const;
    QString currentText() const;
    bool keyLess(const QString &a, const QString &b) const;
    int tabIndexOf(const QString &caption) const;
    int insertKeyTab(const QString &key);
    void setTabs(const QStringList &captions);
    void setTabWidth(int width);
    void applyTab();
    void goToRecord(qint64 kod);
    void onTableOpened();
    void onStateChanged();
    void onRowsChanged();
    void onMasterChanged();
    void newRecordPosted();
    void editedRecordPosted();
    void recordDeleted();
    void updateMenu();

    QPointer<TTable> m_table;
    QPointer<TTable> m_master;
    QString m_field;
    int m_charCount = 1;
    bool m_caseInsensitive = true;
    bool m_autoRefresh = true;
    bool m_autoInclude = true;

    QTabBar *m_tabs;
    QVBoxLayout *m_layout;
    QWidget *m_page = nullptr;
    int m_tabWidth = 0;

    QHash<QString, int> m_counts;
    QStringList m_designTabs;
    QString m_savedFilter;
    bool m_savedFiltered = false;
    bool m_savedCaseInsensitive = false;
    bool m_opened = false;
    int m_recordCount = 0;
    QString m_oldKey;
    TTable::State m_lastState = TTable::State::Browse;
    bool m_changing = false;

    QMenu *m_menu;
    QAction *m_popOn, *m_popCreate, *m_popAutoRefresh, *m_popParam, *m_popFindTab, *m_popSelectTab, *m_popInfo;
};

} // namespace korvan
