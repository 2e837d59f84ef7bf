#pragma once

#include <QColor>
#include <QWidget>

namespace tolvex {

// A filled circle whose diameter is the smaller side of its box, centred in the box.
// It takes no mouse input: presses and moves reach the control beneath it.
class CircleShape : public QWidget {
    Q_OBJECT
public:
    explicit CircleShape(QWidget* parent);

    void setColours(const QColor& border, const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_;
    QColor fill_;
};

}  // namespace tolvex
