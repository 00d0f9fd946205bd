#include "cli/CliContext.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"

#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"

#include <QFileInfo>

#include <stdexcept>

namespace korvan::cli {

Context::Context() = default;

Context::~Context()
{
    m_data.reset();
    m_store.reset();
}

Store &Context::store()
{
    if (!m_store) {
        const QString dir = dataDirectory.isEmpty() ? Store::defaultDataDirectory() : dataDirectory;
        // A command that only reads needs neither the lock nor a writable directory; a store not
        // made yet is made as for any command. An empty data file (a copy cut short, a store whose
        // making was interrupted before its first page) holds no store yet either.
        const QFileInfo file(dir + QLatin1Char('/') + QLatin1String(Store::FileName));
        const bool readOnly =
            command && command->readsOnly && !Store::isServerAddress(dir) && file.exists() && file.size() > 0;
        m_store = Store::open(dir, readOnly ? Store::Access::ReadOnly : Store::Access::ReadWrite);
    }
    return *m_store;
}

void Context::closeStore()
{
    m_data.reset();
    m_store.reset();
}

TDataModule1 &Context::data()
{
    if (!m_data)
        m_data = std::make_unique<TDataModule1>(store());
    return *m_data;
}

namespace {

// An option a command reads but its row does not declare would be missing from the help.
void requireDeclared(const Command *command, const QString &name, bool takesValue)
{
    if (!command)
        return;
    const CommandOption *o = command->option(name);
    if (!o || bool(o->value) != takesValue)
        throw std::logic_error(QStringLiteral("параметр %1 команды %2 не описан в таблице команд")
                                   .arg(name, QLatin1String(command->name))
                                   .toStdString());
}

} // namespace

QString Context::takeOption(const QString &name)
{
    requireDeclared(command, name, true);
    const int i = arguments.indexOf(name);
    if (i < 0)
        return {};
    if (i + 1 >= arguments.size())
        throw KorvanError(QStringLiteral("После %1 нужно указать значение.").arg(name));
    const QString value = arguments.at(i + 1);
    arguments.remove(i, 2);
    return value;
}

QString Context::takeNumber(const QString &name)
{
    const QString value = takeOption(name);
    return value.isNull() ? value : decimalComma(value);
}

bool Context::takeFlag(const QString &name)
{
    requireDeclared(command, name, false);
    return arguments.removeAll(name) > 0;
}

QString Context::takePositional(const QString &what)
{
    for (int i = 0; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QLatin1String("--")) || arguments[i] == QLatin1String("-"))
            return arguments.takeAt(i);
    throw KorvanError(QStringLiteral("Не указан %1.").arg(what));
}

void Context::requireNoArguments() const
{
    if (!arguments.isEmpty())
        throw KorvanError(QStringLiteral("Лишний параметр «%1».").arg(arguments.first()));
}

} // namespace korvan::cli
