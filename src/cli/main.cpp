#include "Cli.h"
#include "QtTranslation.h"
#include "Interrupt.h"

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
