// TSplashFm: the window shown while the program starts.
#pragma once

#include <QWidget>

namespace korvan {

// The window shown while the program starts: its picture, title and version, and a request to wait.
class TSplashFm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashFm(QWidget *parent = nullptr);
};

} // namespace korvan
