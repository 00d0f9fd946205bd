// TSplashFm: the window shown while the program starts.
#include "gui/app/TSplashFm.h"

#include "core/Version.h"
#include "gui/app/ToolIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace korvan {

TSplashFm::TSplashFm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashFm"));
    setWindowTitle(QStringLiteral(KORVAN_TITLE));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(245, 247, 250));
    setPalette(pal);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgPicture"));
    picture->setPixmap(programPicture(200, 240));

    auto label = [this](const char *name, const QString &text, int pointSize, bool bold) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(bold);
        l->setFont(f);
        return l;
    };
    auto *text = new QVBoxLayout;
    text->setContentsMargins(16, 14, 20, 14);
    text->addWidget(label("lblTitle", QStringLiteral(KORVAN_TITLE), 22, true));
    text->addWidget(label("lblVersion", QStringLiteral("Версия 1.0"), 11, false));
    text->addSpacing(18);
    text->addWidget(label("lblLine1", QStringLiteral("Программа "), 12, false));
    text->addWidget(label("lblLine2", QStringLiteral("выбора конденсаторных установок"), 12, false));
    text->addWidget(label("lblLine3", QStringLiteral("напряжением до 1 кВ."), 12, false));
    text->addStretch();
    text->addWidget(label("lblWait", QStringLiteral("Пожалуйста, подождите..."), 10, false));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picture);
    layout->addLayout(text);
    setFixedSize(sizeHint());
}

} // namespace korvan
