#pragma once

#include <QMainWindow>

namespace korvan {

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
};

} // namespace korvan
