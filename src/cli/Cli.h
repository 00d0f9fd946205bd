#pragma once

#include <QStringList>

namespace korvan::cli {

// Runs one command line (arguments()[0] is the program) and returns the exit code: 0 on
// success, 2 on any error (its Russian text on standard error, nothing written).
int run(const QStringList &arguments);

} // namespace korvan::cli
