#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

class QLabel;
class QToolButton;

namespace korvan {

// An up/down pair beside a numeric field, stepping its target's text by one step. The dialogs
// choose the variant: an upper bound the up step may not pass, stepping only while the target
// is enabled, a down step that reaches 0 from the step itself, and a number check (with its
// message) before stepping up. The hint names the step.
class StepButton : public QWidget {
    Q_OBJECT
public:
    StepButton(QWidget *target, double step, QWidget *parent = nullptr);

    QWidget *target() const { return m_target; }
    double step() const { return m_step; }

    void setUpBound(double bound) { m_upBound = bound; }
    void setEnabledOnly(bool on) { m_enabledOnly = on; }
    void setDownToZero(bool on) { m_downToZero = on; }
    // The field's description for the number check run before each up step.
    void setUpCheck(const QString &description) { m_upCheck = description; }
    // Shows the step beside the arrows, where several buttons stand side by side.
    void setCaptionShown(bool on);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

public slots:
    void stepUp();
    void stepDown();

private:
    QPointer<QWidget> m_target;
    double m_step;
    std::optional<double> m_upBound;
    bool m_enabledOnly = false;
    bool m_downToZero = false;
    QString m_upCheck;
    QToolButton *m_up;
    QToolButton *m_down;
    QLabel *m_caption = nullptr;
};

} // namespace korvan
