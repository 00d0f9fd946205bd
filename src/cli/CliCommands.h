#pragma once

#include <QJsonDocument>
#include <QString>

namespace korvan::cli {

struct Context;

struct Command {
    const char *name;
    QJsonDocument (*run)(Context &context);
};

// The command of that name, or nullptr.
const Command *findCommand(const QString &name);

} // namespace korvan::cli
