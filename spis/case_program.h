#pragma once
// Vorlanex Spis as a program: the numeric environment, the application with Qt's own texts in
// Czech, the window, and the case named on the command line opened in it.
#include <functional>

class QCoreApplication;

namespace vorlanex::spis {

class CaseWindow;

// Qt's own texts (the file dialogs, the buttons of the message boxes) in Czech, from Qt's
// translations folder (Debian: qt6-translations-l10n); false, and the texts English, without it.
bool load_czech_qt_texts(QCoreApplication& application);

// `after_show` is called once the window has been shown, before the case named is opened and the
// event loop starts; the start-up benchmark uses it to quit after the first paint.
int run_case_program(int argc, char** argv, const std::function<void(CaseWindow&)>& after_show = {});

}  // namespace vorlanex::spis
