#pragma once
// Qt's own texts (the file dialogs, the buttons of the message boxes, the context menus of the
// fields) in Czech, for both windows.

class QCoreApplication;

namespace vorlanex::qtshared {

// Loads Qt's Czech translation (qtbase_cs) from Qt's translations folder (Debian:
// qt6-translations-l10n) and installs it in `application`, which owns it from then on. Without it
// Qt's texts stay English, nothing else changes, and the answer is false.
bool load_czech_qt_texts(QCoreApplication& application);

}  // namespace vorlanex::qtshared
