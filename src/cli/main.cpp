#include "Cli.h"
#include "Interrupt.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvan Vkp"));
    korvan::cli::installInterruptHandler();
    return korvan::cli::run(QCoreApplication::arguments());
}
