// TAboutForm: the «О программе» window.
#include "gui/app/TAboutForm.h"

#include "core/Version.h"
#include "gui/app/ToolIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

TAboutForm::TAboutForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе."));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgPicture"));
    picture->setPixmap(programPicture(100, 120));

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        return l;
    };
    QLabel *title = label("lblTitle", QStringLiteral(KORVAN_TITLE));
    QFont f = title->font();
    f.setPointSize(16);
    f.setBold(true);
    title->setFont(f);
    QLabel *mail =
        label("lblMail", QStringLiteral("Замечания и рекомендации по работе программы просим направлять по адресу "
                                        "<a href=\"mailto:korvan-vkp@example.org\">korvan-vkp@example.org</a>."));
    mail->setOpenExternalLinks(true);
    QLabel *web = label("lblWeb", QStringLiteral("Сайт программы: <a href=\"https://korvan-vkp.example.org\">"
                                                 "https://korvan-vkp.example.org</a>"));
    web->setOpenExternalLinks(true);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(
        label("lblPurpose", QStringLiteral("Программа выбора конденсаторных установок напряжением до 1 кВ.")));
    text->addSpacing(8);
    text->addWidget(mail);
    text->addWidget(web);
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedWidth(460);
    setFixedHeight(sizeHint().height());
}

} // namespace korvan
