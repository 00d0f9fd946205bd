// TzqDBListDlg: picking one distinct text of a table field from a list with letter tabs.
#pragma once

#include "core/data/TTable.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace korvan {

class TDBListDlg;

enum class TListCase { lcDefault, lcUpperCase, lcLowerCase };

// Picks one of the distinct texts of a table field (texts differing only in letter case count
// once) in a searchable list with tabs from the texts' leading characters. Each Execute makes a
// fresh dialog; nothing the user changes in it carries over to the next one.
class TzqDBListDlg : public QObject {
    Q_OBJECT
public:
    explicit TzqDBListDlg(QObject *parent = nullptr) : QObject(parent) {}

    void setTable(TTable *table) { m_table = table; }
    TTable *table() const { return m_table; }
    void setDataField(const QString &field) { m_dataField = field; }
    QString dataField() const { return m_dataField; }
    void setMultiLine(bool on) { m_multiLine = on; }
    bool multiLine() const { return m_multiLine; }
    void setFirstCharNo(int n) { m_firstCharNo = n; }
    int firstCharNo() const { return m_firstCharNo; }
    void setCharCount(int n) { m_charCount = n; }
    int charCount() const { return m_charCount; }
    void setColCount(int n) { m_colCount = n; }
    int colCount() const { return m_colCount; }
    void setListCase(TListCase c) { m_listCase = c; }
    TListCase listCase() const { return m_listCase; }

    // The text of the last successful choice.
    QString SelectedText() const { return m_selectedText; }

    // Opens the dialog modally; `done` gets true when the user chose a text (SelectedText), false
    // otherwise, also when there is nothing to choose ("Список пуст.").
    void Execute(std::function<void(bool chosen)> done);
    // The dialog of the selection in progress, null between selections.
    TDBListDlg *dialog() const { return m_dialog; }

    // The distinct texts of the field over the table's rows, sorted.
    static QStringList distinctValues(const TTable &table, const QString &field);

private:
    QPointer<TTable> m_table;
    QString m_dataField;
    bool m_multiLine = false;
    int m_firstCharNo = 1;
    int m_charCount = 1;
    int m_colCount = 3;
    TListCase m_listCase = TListCase::lcDefault;
    QString m_selectedText;
    QPointer<TDBListDlg> m_dialog;
};

} // namespace korvan
