#include "gui/widgets/StepButton.h"

#include "core/calc/Numbers.h"
#include "gui/ui/Lib.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

StepButton::StepButton(QWidget *target, double step, QWidget *parent)
    : QWidget(parent), m_target(target), m_step(step), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    outer->addLayout(layout);
    const int h = qMax(10, (target ? target->sizeHint().height() : 22) / 2);
    for (auto [button, arrow, name] :
         {std::tuple{m_up, Qt::UpArrow, "up"}, std::tuple{m_down, Qt::DownArrow, "down"}}) {
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setFixedSize(16, h);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    setToolTip(stepHint(step));
    m_up->setToolTip(toolTip());
    m_down->setToolTip(toolTip());
    connect(m_up, &QToolButton::clicked, this, &StepButton::stepUp);
    connect(m_down, &QToolButton::clicked, this, &StepButton::stepDown);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void StepButton::setCaptionShown(bool on)
{
    if (on && !m_caption) {
        m_caption = new QLabel(numberText(m_step), this);
        m_caption->setObjectName(QStringLiteral("caption"));
        QFont f = m_caption->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        m_caption->setFont(f);
        m_caption->setForegroundRole(QPalette::PlaceholderText);
        m_caption->setToolTip(toolTip());
        static_cast<QHBoxLayout *>(layout())->addWidget(m_caption);
    }
    if (m_caption)
        m_caption->setVisible(on);
}

void StepButton::stepUp()
{
    if (!m_target || (m_enabledOnly && !m_target->isEnabled()))
        return;
    if (!m_upCheck.isEmpty() && !CheckNumber(m_target, m_upCheck, true))
        return;
    if (m_upBound) {
        double v = 0;
        if (!readNumber(m_target, v))
            return;
        // Compared as it would be shown, so no rounding residue of the sum passes or stops it.
        if (*parseNumber(numberText(v + m_step)) > *m_upBound)
            return;
    }
    StepUp(this, m_step);
}

void StepButton::stepDown()
{
    if (!m_target || (m_enabledOnly && !m_target->isEnabled()))
        return;
    if (m_downToZero && !fieldText(m_target).isEmpty()) {
        double v = 0;
        if (!readNumber(m_target, v))
            return;
        if (v == m_step) {
            setFieldText(m_target, QStringLiteral("0"));
            return;
        }
    }
    StepDown(this, m_step);
}

} // namespace korvan
