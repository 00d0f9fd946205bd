#include "Cli.h"

#include <cstdio>

namespace korvan::cli {

int run(const QStringList &arguments)
{
    Q_UNUSED(arguments);
    std::fputs("[]\n", stdout);
    return 0;
}

} // namespace korvan::cli
