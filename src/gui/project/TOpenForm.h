// TOpenForm: the «Открытие проекта» dialog.
#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korvan {

class CursorGrid;
class TDataModule1;
class TzqFilterTabControl;

// "Открытие проекта.": the projects under letter tabs, bound to the shared project cursor, so the
// row chosen here is the current project at once; below it the chosen project's note and
// parameters. The open command decides what OK and Cancel leave current.
class TOpenForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1;

    explicit TOpenForm(TDataModule1 &data, QWidget *parent = nullptr);

    TzqFilterTabControl *tabControl() const { return m_tabs; }
    CursorGrid *grid() const { return m_grid; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showProject();
    void FormActivate();

    TDataModule1 &m_data;
    TzqFilterTabControl *m_tabs;
    CursorGrid *m_grid;
    QPlainTextEdit *m_memo;
    QLineEdit *m_month, *m_year, *m_tarifA, *m_tarifQ;
    QPushButton *m_ok;
};

} // namespace korvan
