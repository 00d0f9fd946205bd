#include "gui/ui/SaveQuestion.h"

#include <QMessageBox>
#include <QPushButton>

namespace korvan {

namespace {

SaveAnswerer &answerer()
{
    static SaveAnswerer installed;
    return installed;
}

} // namespace

void setSaveAnswerer(SaveAnswerer a) { answerer() = std::move(a); }

SaveAnswer askSaveChanges(QWidget *parent, const QString &text)
{
    if (answerer())
        return answerer()(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Нет"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    return answer == QMessageBox::Yes  ? SaveAnswer::Save
           : answer == QMessageBox::No ? SaveAnswer::Discard
                                       : SaveAnswer::Cancel;
}

} // namespace korvan
