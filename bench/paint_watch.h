#pragma once
// What the start-up and first-visit benchmarks watch for: a paint of a widget, and the first
// expose of a window once it has been painted.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace vorlanex::bench {

// Notes that a widget it filters is being painted; the paint pass ends before the processEvents()
// that delivered it returns.
class PaintSeen : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Calls `then` once the first expose of `window` has been painted and flushed.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWindow* window, std::function<void()> then) : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, then_);  // after this expose is painted
        }
        return false;
    }

private:
    std::function<void()> then_;
};

}  // namespace vorlanex::bench
