#include "cli/Cli.h"
#include "cli/Interrupt.h"
#include "core/QtTranslation.h"

#include <QCoreApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvan Vkp"));
    QTranslator qtTexts;
    korvan::installQtTranslation(qtTexts);
    korvan::cli::installInterruptHandler();
    return korvan::cli::run(QCoreApplication::arguments());
}
