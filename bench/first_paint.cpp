// The window's program, quitting as soon as its first paint has been handled: the whole start-up
// from exec to the first picture on the screen, for an instruction count under
//   valgrind --tool=callgrind build/bench/bench/first_paint
// (the floor program's `--quit-after=painted` measures the same span).
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include "app/accessibility_guard.h"
#include "app/kin.h"
#include "app/window_program.h"

namespace {

// Quits once the first expose of the window has been painted and flushed.
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QWindow* window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, &QApplication::quit);  // after this expose is painted
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    vorlanex::app::guard_accessibility_calls();
    return vorlanex::app::run_window_program(
        argc, argv, [](vorlanex::app::TForm1& window) { new QuitAfterFirstPaint(window.windowHandle()); });
}
