#pragma once

#include "core/Progress.h"

#include <QProgressBar>

namespace korvan {

// The progress bar of long commands: 0 to 100 until a command sets its maximum, stepped by the
// command's Progress and set back to 0 when the command ends. A maximum of 0 (nothing to step)
// shows an empty bar, not Qt's busy indicator.
class CommandProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit CommandProgressBar(QWidget *parent = nullptr);

    // The maximum the last command set.
    int commandMaximum() const { return m_commandMaximum; }

    void setCommandRange(int maximum);
    void setCommandValue(int value);
    void finish();

    // A Progress that drives this bar, repainting it at each step.
    Progress progress();

private:
    int m_commandMaximum = 100;
};

} // namespace korvan
