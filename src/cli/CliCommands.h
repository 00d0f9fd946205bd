#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace korvan::cli {

struct Context;

struct CommandOption {
    const char *name;  // "--day"
    const char *value; // what follows it ("ДД.ММ.ГГГГ"), nullptr for a flag
    const char *meaning;
};

// One command of the program: what it is called, what it takes, what it does. The help and the
// dispatcher read the same row, and a command can take only the options its row declares.
struct Command {
    const char *name;
    const char *arguments; // positional arguments, as the help shows them
    const char *summary;
    std::initializer_list<CommandOption> options;
    QByteArray (*run)(Context &context); // JSON text
    // Reads the store and never writes it: opened read-only, it works beside a running program
    // and on a data directory nobody may write to.
    bool readsOnly = false;

    const CommandOption *option(const QString &name) const;
};

// The command of that name, or nullptr.
const Command *findCommand(const QString &name);
// Every command, in the order the help lists them.
const Command *commandsBegin();
const Command *commandsEnd();

// The help of the whole program, and of one command.
QString programHelp();
QString commandHelp(const Command &command);

} // namespace korvan::cli
