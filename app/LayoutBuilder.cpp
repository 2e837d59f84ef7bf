#include "LayoutBuilder.h"

#include <QFontMetrics>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "Accessibility.h"
#include "DesignedLayout.h"
#include "HomePage.h"
#include "Navigation.h"
#include "Questionnaire.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

using layout::ControlKind;
using layout::ControlRow;

namespace {

QString nameOf(const ControlRow& row) {
    const QString name = QString::fromUtf8(row.name.data(), qsizetype(row.name.size()));
    return row.index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(row.index) : name;
}

[[noreturn]] void wrongRow(const ControlRow& row, const char* problem) {
    throw std::logic_error("designed layout, control " + nameOf(row).toStdString() + ": " + problem);
}

// The widget made for a row, as the control type its kind makes (a text box is made as a
// widget that is also a TextBox).
template <typename Control>
Control* asControl(QWidget* widget) {
    if constexpr (std::is_same_v<Control, TextBox>)
        return dynamic_cast<TextBox*>(widget);
    else
        return static_cast<Control*>(widget);
}

template <auto Array>
void addToArray(frmTolvex& form, const ControlRow& row, QWidget* widget) {
    auto& array = form.*Array;
    using Control = std::remove_pointer_t<decltype(array(0))>;
    if (!array.add(row.index, asControl<Control>(widget)))
        wrongRow(row, "the table holds this control twice");
}

template <auto Field>
void setField(frmTolvex& form, const ControlRow& row, QWidget* widget) {
    auto*& field = form.*Field;
    if (field) wrongRow(row, "the table holds this control twice");
    field = asControl<std::remove_pointer_t<std::remove_reference_t<decltype(field)>>>(widget);
}

template <int First, int Last>
bool inRange(std::int16_t index) {
    return index >= First && index <= Last;
}
bool single(std::int16_t index) { return index == -1; }
bool hasCaption(std::int16_t index) { return wizard::captionText(index).has_value(); }

// Every control of the window: its name, its kind, the indices its array has (-1 alone for a
// control that is no array member), and where the window keeps it.
struct KnownControl {
    std::string_view name;
    ControlKind kind;
    bool (*validIndex)(std::int16_t);
    void (*keep)(frmTolvex&, const ControlRow&, QWidget*);
};

const std::array kKnownControls{
    KnownControl{"lblBtn", ControlKind::Label, inRange<0, wizard::kFinishButton>,
                 addToArray<&frmTolvex::lblBtn>},
    KnownControl{"lblCaption", ControlKind::Label, hasCaption, addToArray<&frmTolvex::lblCaption>},
    KnownControl{"lblTitleBar", ControlKind::Label, inRange<0, 1>, addToArray<&frmTolvex::lblTitleBar>},
    KnownControl{"fTab", ControlKind::Frame, inRange<0, 7>, addToArray<&frmTolvex::fTab>},
    KnownControl{"fTabHolder", ControlKind::Frame, inRange<0, 1>, addToArray<&frmTolvex::fTabHolder>},
    KnownControl{"txtField", ControlKind::TextBox, inRange<0, wizard::kQuestionCount - 1>,
                 addToArray<&frmTolvex::txtField>},
    KnownControl{"lblEyeLights", ControlKind::Label, single, setField<&frmTolvex::lblEyeLights>},
    KnownControl{"lblWelcome", ControlKind::Label, single, setField<&frmTolvex::lblWelcome>},
    KnownControl{"Label1", ControlKind::Label, single, setField<&frmTolvex::Label1>},
    KnownControl{"imgIcon", ControlKind::Image, single, setField<&frmTolvex::imgIcon>},
    KnownControl{"imgTolvex", ControlKind::Image, single, setField<&frmTolvex::imgTolvex>},
    KnownControl{"shapeTitle", ControlKind::Shape, single, setField<&frmTolvex::shapeTitle>},
};

// A typo in the table must stop the build of the window, not cast a widget to the wrong type.
const KnownControl& check(const ControlRow& row) {
    const auto known = std::ranges::find(kKnownControls, row.name, &KnownControl::name);
    if (known == kKnownControls.end()) wrongRow(row, "no control of the window has this name");
    if (known->kind != row.kind) wrongRow(row, "the kind does not match the control");
    if (!known->validIndex(row.index)) wrongRow(row, "the index is outside the control's array");
    return *known;
}

QString captionOf(const ControlRow& row) {
    if (!(row.flags & layout::QuestionnaireText))
        return QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size()));
    const std::string_view text =
        row.name == "lblWelcome" ? wizard::welcomeText() : wizard::captionText(row.index).value_or("");
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QWidget* containerOf(const frmTolvex& form, const ControlRow& row) {
    if (row.container.name.empty()) return const_cast<frmTolvex*>(&form);
    QWidget* container = row.container.name == "fTab"         ? form.fTab(row.container.index)
                         : row.container.name == "fTabHolder" ? form.fTabHolder(row.container.index)
                                                              : nullptr;
    if (!container) wrongRow(row, "its container is not a frame of the window");
    return container;
}

void applyColours(QWidget& widget, const ControlRow& row) {
    if (row.foreColour) units::setColour(&widget, QPalette::WindowText, *row.foreColour);
    if (row.backColour) units::setColour(&widget, QPalette::Window, *row.backColour);
    widget.setAutoFillBackground(row.flags & layout::Opaque);
}

// What a clicked label is to a screen reader.
ClickLabel::Kind kindOf(const ControlRow& row) {
    if (row.name == "Label1") return ClickLabel::Kind::Link;
    if (row.name != "lblBtn") return ClickLabel::Kind::Text;
    switch (wizard::actionOf(row.index)) {
        case wizard::ButtonAction::ShowPage: return ClickLabel::Kind::PageTab;
        case wizard::ButtonAction::OpenHomePage: return ClickLabel::Kind::Link;
        case wizard::ButtonAction::Nothing: return ClickLabel::Kind::Text;
        default: return ClickLabel::Kind::PushButton;
    }
}

ClickLabel* makeLabel(QWidget* parent, const ControlRow& row) {
    auto* label = new ClickLabel(parent, kindOf(row));
    if (row.font.points > 0) label->setFont(units::font(row.font.family, row.font.points, row.font.bold));
    label->setText(captionOf(row));
    label->setTextFormat(Qt::PlainText);
    const Qt::Alignment horizontal = (row.flags & layout::AlignCentre)  ? Qt::AlignHCenter
                                     : (row.flags & layout::AlignRight) ? Qt::AlignRight
                                                                        : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(row.flags & layout::WordWrap);
    applyColours(*label, row);
    return label;
}

TextBox* makeTextBox(QWidget* parent, const ControlRow& row) {
    const wizard::Question& question = wizard::questions()[std::size_t(row.index)];
    TextBox* box = nullptr;
    if (question.box == wizard::AnswerBox::MultiLine) {
        box = new MultiLineBox(parent);
    } else {
        auto* line = new SingleLineBox(parent);
        // Only the boxes designed with a limit have one: a pasted answer of any length is kept whole.
        line->setMaxLength(question.maxLength > 0 ? question.maxLength : std::numeric_limits<int>::max());
        box = line;
    }
    box->widget()->setFont(units::font(row.font.family, row.font.points, row.font.bold));
    return box;
}

QWidget* makeWidget(const ControlRow& row, QWidget* parent) {
    switch (row.kind) {
        case ControlKind::Label: return makeLabel(parent, row);
        case ControlKind::TextBox: {
            return makeTextBox(parent, row)->widget();
        }
        case ControlKind::Frame: {
            auto* frame = new PageFrame(parent);
            applyColours(*frame, row);
            return frame;
        }
        case ControlKind::Image: {
            auto* image = new ImageBox(parent);
            image->setAccessibleName(captionOf(row));
            return image;
        }
        case ControlKind::Shape: {
            auto* shape = new CircleShape(parent);
            shape->setColours(units::colour(row.foreColour.value_or(0)),
                              units::colour(row.backColour.value_or(0)));
            return shape;
        }
    }
    wrongRow(row, "unknown kind");
}

void build(frmTolvex& form, const ControlRow& row) {
    const KnownControl& known = check(row);
    QWidget* widget = makeWidget(row, containerOf(form, row));
    widget->setObjectName(nameOf(row));
    widget->setGeometry(units::pixels(row.rect.left), units::pixels(row.rect.top),
                        units::pixels(row.rect.width), units::pixels(row.rect.height));
    if (row.flags & layout::AutoSize) autoSize(*static_cast<QLabel*>(widget));
    if (row.flags & layout::Hidden) widget->hide();
    if (row.flags & layout::Decoration) markAsDecoration(*widget);
    known.keep(form, row, widget);
}

// What a screen reader needs beyond the designed state; nothing here changes a pixel.
void describeForScreenReaders(frmTolvex& form) {
    form.setAccessibleName(form.lblTitleBar(0)->text());
    form.lblBtn(wizard::kWelcomeTab)->setSelected(true);
    form.Label1->setAccessibleName(homepage::homePageAddress());
    for (const auto& member : form.fTabHolder.members())
        markAsTabList(*member.second);
    for (const wizard::Tab& tab : wizard::kTabs)
        form.fTab(std::int16_t(wizard::pageOfTab(tab.button)))
            ->setAccessibleName(QString::fromUtf8(tab.caption.data(), qsizetype(tab.caption.size())));
    for (std::int16_t i = 0; i < wizard::kQuestionCount; ++i) {
        QWidget* box = form.txtField(i)->widget();
        form.lblCaption(i)->setBuddy(box);
        box->setAccessibleName(form.lblCaption(i)->text());
    }
}

// Only the answer boxes take the keyboard focus, in their designed order.
void setKeyboardOrder(frmTolvex& form, std::span<const ControlRow> rows) {
    std::vector<const ControlRow*> boxes;
    for (const ControlRow& row : rows)
        if (row.kind == ControlKind::TextBox) boxes.push_back(&row);
    std::ranges::sort(boxes, {}, &ControlRow::tabOrder);
    for (std::size_t k = 1; k < boxes.size(); ++k)
        QWidget::setTabOrder(form.txtField(boxes[k - 1]->index)->widget(),
                             form.txtField(boxes[k]->index)->widget());
}

}  // namespace

void autoSize(QLabel& label) {
    if (label.text().isEmpty()) return;
    label.resize(QFontMetrics(label.font()).horizontalAdvance(label.text()), label.height());
}

void buildDesignedLayout(frmTolvex& form, std::span<const ControlRow> rows) {
    // The window's own controls first, since the frames among them hold the rest; within a
    // container the bottom-most control is made first, because a later sibling lies on top.
    std::vector<const ControlRow*> order;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (it->container.name.empty()) order.push_back(&*it);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (!it->container.name.empty()) order.push_back(&*it);
    for (const ControlRow* row : order)
        build(form, *row);
    setKeyboardOrder(form, rows);
    describeForScreenReaders(form);
}

}  // namespace tolvex
