#include "Cli.h"

#include "CliContext.h"
#include "CliCommands.h"
#include "Messages.h"

#include <QJsonDocument>
#include <cstdio>

namespace korvan::cli {

namespace {

void printError(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
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
                    throw KorvanError(option == QLatin1String("--data")
                                          ? QStringLiteral("После --data нужно указать каталог данных.")
                                          : QStringLiteral("После --store нужно указать каталог данных или адрес сервера "
                                                           "(postgresql://пользователь@сервер/база)."));
                context.dataDirectory = rest.takeFirst();
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
        context.arguments = rest;
        const QByteArray out = handler->run(context);
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
