#include "gui/widgets/CommandProgressBar.h"

namespace korvan {

CommandProgressBar::CommandProgressBar(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void CommandProgressBar::setCommandRange(int maximum)
{
    m_commandMaximum = maximum;
    setRange(0, qMax(1, maximum));
    setValue(0);
}

void CommandProgressBar::setCommandValue(int value) { setValue(qBound(0, value, maximum())); }

void CommandProgressBar::finish() { setValue(0); }

Progress CommandProgressBar::progress()
{
    return [this](int value, int maximum) {
        if (maximum != m_commandMaximum || value == 0)
            setCommandRange(maximum);
        setCommandValue(value);
        // The command holds the event loop: paint the step now.
        if (isVisible())
            repaint();
    };
}

} // namespace korvan
