// TDBListDlg: the «Выбор из списка» window of TzqDBListDlg.
#pragma once

#include "gui/dialogs/DBListDlg.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace korvan {

class ListTabRow;

// "Выбор из списка.": the window of TzqDBListDlg. Page "Список" with the tabs, the list and the
// search; page "Параметры" with the tab and list settings the user may change for this selection.
class TDBListDlg : public QDialog {
    Q_OBJECT
public:
    TDBListDlg(const QStringList &values, QWidget *parent = nullptr);

    // The settings the component gives; a column count outside 1 to 10 takes the nearer bound.
    void setParameters(bool multiLine, int firstCharNo, int charCount, int colCount, TListCase listCase);

    // The chosen entry as shown (in the chosen case); empty when none is selected.
    QString selectedText() const;
    int listColumns() const { return m_columns; }
    ListTabRow *tabRow() const { return m_tabs; }
    QListWidget *list() const { return m_list; }

    // The key of a text: its upper-case part from the first character, so many characters long.
    static QString tabKey(const QString &text, int firstCharNo, int charCount);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildListPage();
    QWidget *buildParamsPage();
    void FormActivate();
    void buildTabsAndList();
    void chooseTab(int index);
    void search(const QString &text);
    void layoutPage();
    void updateOk();
    void setListColumns(int columns);
    void updateCharCountRange();
    void firstOrCountChanged();
    void multiLineClicked(bool on);
    QString shown(const QString &text) const;
    TListCase listCase() const;
    int firstCharNo() const;

    QStringList m_values;
    int m_longest = 0;
    int m_columns = 1;
    bool m_activated = false;
    bool m_building = false;
    QWidget *m_listPage = nullptr;
    ListTabRow *m_tabs = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_searchLabel = nullptr;
    QLineEdit *m_search = nullptr;
    QCheckBox *m_multiLine = nullptr;
    QSpinBox *m_firstChar = nullptr;
    QSpinBox *m_charCount = nullptr;
    QSpinBox *m_colCount = nullptr;
    QLabel *m_firstCharRange = nullptr;
    QLabel *m_charCountRange = nullptr;
    QButtonGroup *m_case = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace korvan
