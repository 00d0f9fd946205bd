#include "TMainForm.h"

namespace korvan {

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Korvan Vkp 1.0."));
    resize(1024, 720);
}

} // namespace korvan
