#pragma once
// Vorlanex Spis as a program: the numeric environment, the application with Qt's own texts in
// Czech, the window, and the case named on the command line opened in it.
class QCoreApplication;

namespace vorlanex::spis {

// Qt's own texts (the file dialogs, the buttons of the message boxes) in Czech, from Qt's
// translations folder (Debian: qt6-translations-l10n); false, and the texts English, without it.
bool load_czech_qt_texts(QCoreApplication& application);

int run_case_program(int argc, char** argv);

}  // namespace vorlanex::spis
