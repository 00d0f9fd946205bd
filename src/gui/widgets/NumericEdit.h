#pragma once

#include <QLineEdit>

namespace korvan {

// A single-line numeric field: its key filter (decimal with the comma, or whole) and, where a
// dialog asks for it, the check on leaving the field.
class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    enum Kind { Decimal, Whole };

    explicit NumericEdit(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    void setExitCheck(bool on) { m_exitCheck = on; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    Kind m_kind;
    bool m_exitCheck = false;
    bool m_checking = false;
};

} // namespace korvan
