#pragma once

#include <QLabel>
#include <QPointF>

namespace tolvex {

// A label of the window. It keeps every mouse event to itself (never passes it on to its
// container), reports pointer moves and presses, and reports a click only for a left press
// and release on the same label.
//
// A label that is clicked also tells a screen reader what it is (a page tab, a push button or a
// link) and offers the action that clicks it; a tab also says whether its page is shown.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    enum class Kind { Text, PageTab, PushButton, Link };

    // The kind is fixed from the start: a screen reader's view of the label is made once.
    explicit ClickLabel(QWidget* parent, Kind kind = Kind::Text);

    Kind kind() const { return kind_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    // What a screen reader's action does: the same as a click of the mouse.
    void click() { emit clicked(); }

signals:
    void clicked();
    void mouseMoved(Qt::MouseButtons buttons, QPointF globalPosition);
    void mousePressed(Qt::MouseButton button, QPointF globalPosition);
    void mouseReleased(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool leftPressed_ = false;
    const Kind kind_;
    bool selected_ = false;
};

}  // namespace tolvex
