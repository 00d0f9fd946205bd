#include "cli/Cli.h"

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "core/data/Engine.h"
#include "core/data/Store.h"
#include "core/Messages.h"

#include <QJsonDocument>
#include <cstdio>

namespace korvan::cli {

namespace {

void printError(const QString &text)
{
    // A NUL that came with the input would end the message where it stands: it is shown as ␀.
    std::fputs(QString(text).replace(QChar(0), QChar(0x2400)).toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

// The command line of every process is open to every user of the computer.
void warnOfPassword(const QString &location)
{
    if (Store::isServerAddress(location) && Store::shownLocation(location) != location.trimmed())
        printError(QStringLiteral("Внимание: в адресе хранилища указан пароль, а параметры команды видны всем "
                                  "пользователям компьютера в списке процессов. Храните пароль в файле ~/.pgpass "
                                  "(или в переменной окружения PGPASSWORD)."));
}

} // namespace

int run(const QStringList &arguments)
{
    Context context;
    QStringList rest = arguments.mid(1);
    try {
        while (!rest.isEmpty() && rest.first().startsWith(QLatin1String("--"))) {
            const QString option = rest.takeFirst();
            if (option == QLatin1String("--data") || option == QLatin1String("--store")) {
                if (rest.isEmpty())
                    throw KorvanError(
                        option == QLatin1String("--data")
                            ? QStringLiteral("После --data нужно указать каталог данных.")
                            : QStringLiteral("После --store нужно указать каталог данных или адрес сервера "
                                             "(postgresql://пользователь@сервер/база)."));
                context.dataDirectory = rest.takeFirst();
                warnOfPassword(context.dataDirectory);
            } else if (option == QLatin1String("--help")) {
                std::fputs(programHelp().toUtf8().constData(), stdout);
                return 0;
            } else {
                throw KorvanError(QStringLiteral("Неизвестный параметр «%1».").arg(option));
            }
        }
        if (rest.isEmpty()) {
            std::fputs(programHelp().toUtf8().constData(), stderr);
            return 2;
        }
        const QString command = rest.takeFirst();
        const Command *handler = findCommand(command);
        if (!handler)
            throw KorvanError(QStringLiteral("Неизвестная команда «%1».").arg(command));
        if (rest.contains(QLatin1String("--help"))) {
            std::fputs(commandHelp(*handler).toUtf8().constData(), stdout);
            return 0;
        }
        context.command = handler;
        QByteArray out;
        // On a shared server a command may lose a conflict with another user's (a serialization
        // failure or a deadlock): the server has undone it, so it is simply run again.
        constexpr int attempts = 4;
        for (int attempt = 1;; ++attempt) {
            context.arguments = rest;
            try {
                out = handler->run(context);
                break;
            } catch (const EngineError &e) {
                if (!e.retryable())
                    throw;
                context.closeStore();
                if (attempt == attempts)
                    throw KorvanError(
                        QStringLiteral("Команда не выполнена: те же данные одновременно изменяли другие "
                                       "пользователи, и %1 попытки не удались. Повторите команду позже.\n%2")
                            .arg(attempts)
                            .arg(e.message()));
            }
        }
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        return 0;
    } catch (const KorvanError &e) {
        printError(e.message());
    } catch (const Abort &) {
        // the message has been shown already
    } catch (const std::exception &e) {
        printError(QStringLiteral("Внутренняя ошибка: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return 2;
}

} // namespace korvan::cli
