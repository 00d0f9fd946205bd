#include "CliCommands.h"

#include "CliContext.h"
#include "data/TDataModule1.h"

#include <QJsonArray>
#include <QJsonObject>

namespace korvan::cli {

namespace {

QJsonDocument listProjects(Context &context)
{
    context.requireNoArguments();
    TTable &projects = *context.data().tblProj0;
    QJsonArray result;
    for (projects.first(); !projects.eof(); projects.next())
        result.append(QJsonObject{{QStringLiteral("Kod"), projects.asInteger(QStringLiteral("Kod"))},
                                  {QStringLiteral("Name"), projects.asString(QStringLiteral("Name"))}});
    return QJsonDocument(result);
}

const Command commands[] = {
    {"list", listProjects},
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
