#include "app/TMainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvan Vkp"));
    korvan::TMainForm form;
    form.show();
    return app.exec();
}
