#pragma once

#include <QByteArray>
#include <QString>

namespace korvan::cli {

struct Context;

struct Command {
    const char *name;
    QByteArray (*run)(Context &context); // JSON text
};

// The command of that name, or nullptr.
const Command *findCommand(const QString &name);

} // namespace korvan::cli
