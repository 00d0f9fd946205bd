#include "CliCommands.h"

#include "CliCommandList.h"

namespace korvan::cli {

namespace {

const Command commands[] = {
    {"list", listProjects},
    {"import", importProject},
    {"export", exportProject},
    {"recalc", recalcProject},
    {"delete", deleteProjectCommand},
    {"copy", copyProjectCommand},
    {"catalogue-import", importCatalogue},
    {"catalogue-export", exportCatalogue},
    {"graph-from-file", graphFromFile},
    {"report", reportCommand},
    {"analyse", analyseProject},
    {"economics", economicsCommand},
    {"supply", supplyCommand},
};

} // namespace

const Command *findCommand(const QString &name)
{
    for (const Command &c : commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

} // namespace korvan::cli
