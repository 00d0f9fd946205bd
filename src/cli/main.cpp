#include "Cli.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvan Vkp"));
    return korvan::cli::run(QCoreApplication::arguments());
}
