// HintUnit: the dialog in which a field hint is typed.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace korvan {

class TDataModule1;
class TzqDBListDlg;

// The hint entry dialog: one text, OK only while it is not empty, and "Подсказки..." to take a
// hint already stored for another field. The caller primes it and stores the text on OK.
class THintForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 8;

    explicit THintForm(TDataModule1 &data, QWidget *parent = nullptr);

    void prime(const QString &caption, const QString &text);
    QString hintText() const;

    TzqDBListDlg *listDlg() const { return m_listDlg; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateOk();
    void btnHintsClick();

    QPlainTextEdit *m_memo;
    QPushButton *m_ok;
    TzqDBListDlg *m_listDlg;
};

} // namespace korvan
