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

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return "Label";
        case ControlKind::TextBox: return "TextBox";
        case ControlKind::Frame: return "Frame";
        case ControlKind::Image: return "Image";
        case ControlKind::Shape: return "Shape";
    }
    return "unknown kind";
}

QString nameOf(std::string_view name, std::int16_t index) {
    const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
    return index >= 0 ? QStringLiteral("%1(%2)").arg(text).arg(index) : text;
}
QString nameOf(const ControlRow& row) { return nameOf(row.name, row.index); }

[[noreturn]] void wrongControl(ControlKind kind, std::string_view name, std::int16_t index,
                               const char* problem) {
    throw std::logic_error("designed layout, " + std::string(kindName(kind)) + " " +
                           nameOf(name, index).toStdString() + ": " + problem);
}
[[noreturn]] void wrongRow(const ControlRow& row, const char* problem) {
    wrongControl(row.kind, row.name, row.index, problem);
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
    array.add(row.index, asControl<Control>(widget));
}

template <auto Field>
void setField(frmTolvex& form, const ControlRow&, QWidget* widget) {
    auto*& field = form.*Field;
    field = asControl<std::remove_pointer_t<std::remove_reference_t<decltype(field)>>>(widget);
}

std::vector<std::int16_t> upTo(int last) {
    std::vector<std::int16_t> indices;
    for (int i = 0; i <= last; ++i)
        indices.push_back(std::int16_t(i));
    return indices;
}

std::vector<std::int16_t> captionLabels() {
    std::vector<std::int16_t> indices = upTo(wizard::kQuestionCount - 1);
    for (const wizard::Note& note : wizard::kNotes)
        indices.push_back(note.label);
    return indices;
}

const std::vector<std::int16_t> kSingle{-1};

// Every control of the window: its name, its kind, every index of its array (-1 alone for a
// control that is no array member), and where the window keeps it.
struct KnownControl {
    std::string_view name;
    ControlKind kind;
    std::vector<std::int16_t> indices;
    void (*keep)(frmTolvex&, const ControlRow&, QWidget*);
};

const std::array kKnownControls{
    KnownControl{"lblBtn", ControlKind::Label, upTo(wizard::kFinishButton), addToArray<&frmTolvex::lblBtn>},
    KnownControl{"lblCaption", ControlKind::Label, captionLabels(), addToArray<&frmTolvex::lblCaption>},
    KnownControl{"lblTitleBar", ControlKind::Label, upTo(1), addToArray<&frmTolvex::lblTitleBar>},
    KnownControl{"fTab", ControlKind::Frame, upTo(int(wizard::kTabs.size()) - 1),
                 addToArray<&frmTolvex::fTab>},
    KnownControl{"fTabHolder", ControlKind::Frame, upTo(1), addToArray<&frmTolvex::fTabHolder>},
    KnownControl{"txtField", ControlKind::TextBox, upTo(wizard::kQuestionCount - 1),
                 addToArray<&frmTolvex::txtField>},
    KnownControl{"lblEyeLights", ControlKind::Label, kSingle, setField<&frmTolvex::lblEyeLights>},
    KnownControl{"lblWelcome", ControlKind::Label, kSingle, setField<&frmTolvex::lblWelcome>},
    KnownControl{"Label1", ControlKind::Label, kSingle, setField<&frmTolvex::Label1>},
    KnownControl{"imgIcon", ControlKind::Image, kSingle, setField<&frmTolvex::imgIcon>},
    KnownControl{"imgTolvex", ControlKind::Image, kSingle, setField<&frmTolvex::imgTolvex>},
    KnownControl{"shapeTitle", ControlKind::Shape, kSingle, setField<&frmTolvex::shapeTitle>},
};

const KnownControl* knownControl(std::string_view name) {
    const auto known = std::ranges::find(kKnownControls, name, &KnownControl::name);
    return known == kKnownControls.end() ? nullptr : &*known;
}

bool hasIndex(const KnownControl& control, std::int16_t index) {
    return std::ranges::find(control.indices, index) != control.indices.end();
}

unsigned allowedFlags(ControlKind kind) {
    using namespace layout;
    switch (kind) {
        case ControlKind::Label:
            return Hidden | AutoSize | WordWrap | AlignCentre | AlignRight | Opaque | QuestionnaireText |
                   Decoration;
        case ControlKind::Frame: return Hidden | Opaque;
        case ControlKind::TextBox: return Hidden;
        case ControlKind::Image:
        case ControlKind::Shape: return Hidden | Decoration;
    }
    return NoFlags;
}

// A row must name a control of the window by its kind and index, with flags its kind has, in a
// frame of the window; a question or an answer box in the frame of its page.
void checkRow(const ControlRow& row) {
    const KnownControl* known = knownControl(row.name);
    if (!known) wrongRow(row, "no control of the window has this name");
    if (known->kind != row.kind) wrongRow(row, "the kind does not match the control");
    if (!hasIndex(*known, row.index)) wrongRow(row, "the index is outside the control's array");
    if (row.flags & ~allowedFlags(row.kind)) wrongRow(row, "a flag that this kind of control does not take");
    // Frames are made first, as the window's own controls, so that they can hold the rest.
    if (row.kind == ControlKind::Frame && !row.container.name.empty())
        wrongRow(row, "a frame stands on the window itself");
    if (!row.container.name.empty()) {
        const KnownControl* frame = knownControl(row.container.name);
        if (!frame || frame->kind != ControlKind::Frame || !hasIndex(*frame, row.container.index))
            wrongRow(row, "its container is not a frame of the window");
    }
    if (row.name == "lblCaption" || row.name == "txtField") {
        if (row.container.name != "fTab" || row.container.index != wizard::captionPage(row.index))
            wrongRow(row, "it is not on the page the questionnaire gives it");
    }
}

// The whole table is checked before a widget is made: a wrong table never leaves half a window.
void checkTable(std::span<const ControlRow> rows) {
    for (const ControlRow& row : rows)
        checkRow(row);
    for (const KnownControl& known : kKnownControls)
        for (const std::int16_t index : known.indices) {
            const auto count = std::ranges::count_if(
                rows, [&](const ControlRow& row) { return row.name == known.name && row.index == index; });
            if (count == 0)
                wrongControl(known.kind, known.name, index, "the table has no row for this control");
            if (count > 1) wrongControl(known.kind, known.name, index, "the table holds this control twice");
        }
}

QString captionOf(const ControlRow& row) {
    if (!(row.flags & layout::QuestionnaireText))
        return QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size()));
    const std::string_view text =
        row.name == "lblWelcome" ? wizard::welcomeText() : wizard::captionText(row.index).value_or("");
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The table is checked: the container is a frame of the window, made before what it holds.
QWidget* containerOf(frmTolvex& form, const ControlRow& row) {
    if (row.container.name.empty()) return &form;
    return row.container.name == "fTab" ? form.fTab(row.container.index)
                                        : form.fTabHolder(row.container.index);
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
    const wizard::Question& question = wizard::kQuestions[std::size_t(row.index)];
    TextBox* box = nullptr;
    if (question.box == wizard::AnswerBox::MultiLine) {
        box = new MultiLineBox(parent);
    } else {
        auto* line = new SingleLineBox(parent);
        // Only the boxes designed with a limit have one: a pasted answer of any length is kept whole.
        line->setMaxLength(question.maxLength > 0 ? question.maxLength : std::numeric_limits<int>::max());
        box = line;
    }
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

// The control's own font, and a label's width to its caption. The table is checked: only
// labels carry AutoSize.
void fitToFont(QWidget& widget, layout::Font font, bool autoSized) {
    if (font.points > 0) widget.setFont(units::font(font.family, font.points, font.bold));
    if (autoSized) autoSize(static_cast<QLabel&>(widget));
}

void build(frmTolvex& form, const ControlRow& row) {
    const KnownControl& known = *knownControl(row.name);
    QWidget* container = containerOf(form, row);
    QWidget* widget = makeWidget(row, container);
    widget->setObjectName(nameOf(row));
    widget->setGeometry(units::pixels(row.rect.left), units::pixels(row.rect.top),
                        units::pixels(row.rect.width), units::pixels(row.rect.height));
    // Each font the window uses costs the toolkit a font match and a loaded face at its first
    // use; the fonts that only hidden pages use are loaded when such a page first shows.
    const bool autoSized = row.flags & layout::AutoSize;
    auto* page = qobject_cast<PageFrame*>(container);
    if (page && page->isHidden())
        page->whenFirstShown([widget, font = row.font, autoSized] { fitToFont(*widget, font, autoSized); });
    else
        fitToFont(*widget, row.font, autoSized);
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
    checkTable(rows);
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
