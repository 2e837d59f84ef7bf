#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace tolvex {

// Calls `then` once, when a shown window first reaches the screen (its first expose), or at the
// latest a quarter of a second after it was shown: a window the desktop keeps covered is never
// exposed.
class OnScreenWatch final : public QObject {
public:
    OnScreenWatch(QWidget& window, std::function<void()> then);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reached();

    std::function<void()> then_;
    QTimer latest_;
};

}  // namespace tolvex
