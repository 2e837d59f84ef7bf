#pragma once

#include <QFrame>

#include <functional>
#include <vector>

namespace tolvex {

// A frame of the window (a page or a tab row): flat, no frame line; reports pointer moves
// over its own background and keeps them from the window.
class PageFrame : public QFrame {
    Q_OBJECT
public:
    explicit PageFrame(QWidget* parent);

    // Runs `step` when the frame first shows, before it paints: work that only a shown page
    // needs waits until then.
    void whenFirstShown(std::function<void()> step);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::vector<std::function<void()>> firstShowSteps_;
};

}  // namespace tolvex
