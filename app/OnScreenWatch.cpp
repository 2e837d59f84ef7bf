#include "OnScreenWatch.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <utility>

namespace tolvex {

namespace {

constexpr std::chrono::milliseconds kLatest{250};

}  // namespace

OnScreenWatch::OnScreenWatch(QWidget& window, std::function<void()> then) : then_(std::move(then)) {
    if (QWindow* handle = window.windowHandle()) handle->installEventFilter(this);
    latest_.setSingleShot(true);
    connect(&latest_, &QTimer::timeout, this, &OnScreenWatch::reached);
    latest_.start(kLatest);
}

bool OnScreenWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) reached();
    return false;
}

void OnScreenWatch::reached() {
    if (!then_) return;
    latest_.stop();
    std::exchange(then_, nullptr)();
}

}  // namespace tolvex
