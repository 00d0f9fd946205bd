// TAboutForm: the «О программе» window.
#pragma once

#include <QDialog>

namespace korvan {

// "О программе.": the title, what the program does, where to send remarks.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *parent = nullptr);
};

} // namespace korvan
