#include "Messages.h"
#include "app/TMainForm.h"
#include "data/Store.h"
#include "data/TDataModule1.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvan Vkp"));
    std::unique_ptr<korvan::Store> store;
    try {
        store = korvan::Store::open(korvan::Store::defaultDataDirectory());
    } catch (const korvan::KorvanError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Korvan Vkp 1.0"), e.message());
        return 1;
    }
    korvan::TDataModule1 data(*store);
    korvan::TMainForm form;
    form.show();
    return app.exec();
}
