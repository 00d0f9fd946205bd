#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace korvan {

// «Сохранить изменения?» with Да / Нет / Отмена, asked when a window with unsaved changes is
// closed: Да (the default) keeps them, Нет gives them up, Отмена (and Esc) goes back to the window.
enum class SaveAnswer { Save, Discard, Cancel };
SaveAnswer askSaveChanges(QWidget *parent, const QString &text = QStringLiteral("Сохранить изменения?"));

// Tests answer the question themselves; an empty answerer restores the message box.
using SaveAnswerer = std::function<SaveAnswer(const QString &text)>;
void setSaveAnswerer(SaveAnswerer answerer);

} // namespace korvan
