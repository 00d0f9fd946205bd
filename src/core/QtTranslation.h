#pragma once

class QTranslator;

namespace korvan {

// Loads Qt's own Russian texts (context menus of text fields, file dialogs, standard buttons,
// file and process errors) into the translator and installs it. False when the translation is
// not installed (package qt6-translations-l10n): Qt then speaks English, nothing else changes.
bool installQtTranslation(QTranslator &translator);

} // namespace korvan
