#include "Accessibility.h"

#include <QAccessibleWidget>

#include "controls/ClickLabel.h"
#include "controls/PageFrame.h"
#include "frmTolvex.h"

namespace tolvex {

namespace {

constexpr char kDecoration[] = "tolvexDecoration";
constexpr char kTabList[] = "tolvexTabList";

// The window: its children without the decoration.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> kids = children();
        return index >= 0 && index < kids.size() ? QAccessible::queryAccessibleInterface(kids[index])
                                                 : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(children().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> children() const {
        QList<QWidget*> kids;
        for (QObject* object : widget()->children()) {
            auto* kid = qobject_cast<QWidget*>(object);
            if (kid && !kid->isWindow() && !kid->property(kDecoration).toBool()) kids << kid;
        }
        return kids;
    }
};

QAccessible::Role roleOf(ClickLabel::Kind kind) {
    switch (kind) {
        case ClickLabel::Kind::PageTab: return QAccessible::PageTab;
        case ClickLabel::Kind::PushButton: return QAccessible::PushButton;
        case ClickLabel::Kind::Link: return QAccessible::Link;
        case ClickLabel::Kind::Text: break;
    }
    return QAccessible::StaticText;
}

// A label that is clicked: its role, its state and the action that clicks it.
class ClickLabelAccessible final : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(ClickLabel* label) : QAccessibleWidget(label, roleOf(label->kind())) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return label()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (label()->kind() == ClickLabel::Kind::PageTab) {
            s.selectable = true;
            s.selected = label()->isSelected();
        }
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) label()->click();
    }

private:
    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("tolvex::frmTolvex"))
        return new WindowAccessible(static_cast<QWidget*>(object));
    if (className == QLatin1String("tolvex::ClickLabel")) {
        auto* label = static_cast<ClickLabel*>(object);
        return label->kind() == ClickLabel::Kind::Text ? nullptr : new ClickLabelAccessible(label);
    }
    if (className == QLatin1String("tolvex::ImageBox"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    // A page is a pane named by its tab.
    if (className == QLatin1String("tolvex::PageFrame"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), object->property(kTabList).toBool()
                                                                        ? QAccessible::PageTabList
                                                                        : QAccessible::Pane);
    return nullptr;
}

}  // namespace

void markAsDecoration(QWidget& widget) { widget.setProperty(kDecoration, true); }

void markAsTabList(QWidget& widget) { widget.setProperty(kTabList, true); }

void installAccessibility() {
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(factory), true);
}

}  // namespace tolvex
