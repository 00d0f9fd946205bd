#pragma once

#include <QListWidget>
#include <functional>

namespace korvan {

// A check list of a chart viewer: items with check marks, shown in one or two columns, with the
// context menu "Выделить все", "Сбросить все", "Обратить все". Marks set by the program raise no
// signal; a mark the user changes raises userToggled, a menu command commandRun.
class ChartCheckList : public QListWidget {
    Q_OBJECT
public:
    explicit ChartCheckList(int columns, QWidget *parent = nullptr);

    // Replaces the items, all unchecked.
    void setItems(const QStringList &texts);
    void insertItemAt(int row, const QString &text, bool checked);
    QString text(int row) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    QList<int> checkedRows() const;
    QStringList checkedTexts() const;

    // The context menu's commands.
    void checkAll();
    void uncheckAll();
    void invertAll();

signals:
    void userToggled(int row);
    void commandRun();
    // The mouse is over this item.
    void hovered(int row);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void runCommand(const std::function<void(QListWidgetItem *)> &change);
    void updateGrid();

    int m_columns;
    int m_quiet = 0;
};

} // namespace korvan
