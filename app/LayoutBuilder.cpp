#include "LayoutBuilder.h"

#include <QFontMetrics>
#include <QPixmap>

#include <algorithm>
#include <vector>

#include "DesignedLayout.h"
#include "Questionnaire.h"
#include "Resources.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

using layout::ControlKind;
using layout::ControlRow;

namespace {

QString captionOf(const ControlRow& row) {
    if (!(row.flags & layout::QuestionnaireText))
        return QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size()));
    const std::string_view text = row.name == "lblWelcome"
                                      ? wizard::welcomeText()
                                      : wizard::captionText(row.index).value_or(std::string_view{});
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QWidget* containerOf(const frmTolvex& form, const ControlRow& row, QWidget* window) {
    if (row.container.name.empty()) return window;
    if (row.container.name == "fTab") return form.fTab(row.container.index);
    return form.fTabHolder(row.container.index);
}

void applyColours(QWidget& widget, const ControlRow& row) {
    if (row.foreColour) units::setColour(&widget, QPalette::WindowText, *row.foreColour);
    if (row.backColour) units::setColour(&widget, QPalette::Window, *row.backColour);
    widget.setAutoFillBackground(row.flags & layout::Opaque);
}

ClickLabel* makeLabel(QWidget* parent, const ControlRow& row) {
    auto* label = new ClickLabel(parent);
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
        if (question.maxLength > 0) line->setMaxLength(question.maxLength);
        box = line;
    }
    box->widget()->setFont(units::font(row.font.family, row.font.points, row.font.bold));
    return box;
}

void registerControl(frmTolvex& form, const ControlRow& row, QWidget* widget) {
    const std::int16_t i = row.index;
    if (row.name == "lblBtn")
        form.lblBtn.add(i, static_cast<ClickLabel*>(widget));
    else if (row.name == "lblCaption")
        form.lblCaption.add(i, static_cast<ClickLabel*>(widget));
    else if (row.name == "lblTitleBar")
        form.lblTitleBar.add(i, static_cast<ClickLabel*>(widget));
    else if (row.name == "fTab")
        form.fTab.add(i, static_cast<PageFrame*>(widget));
    else if (row.name == "fTabHolder")
        form.fTabHolder.add(i, static_cast<PageFrame*>(widget));
    else if (row.name == "lblEyeLights")
        form.lblEyeLights = static_cast<ClickLabel*>(widget);
    else if (row.name == "lblWelcome")
        form.lblWelcome = static_cast<ClickLabel*>(widget);
    else if (row.name == "Label1")
        form.Label1 = static_cast<ClickLabel*>(widget);
    else if (row.name == "imgIcon")
        form.imgIcon = static_cast<ImageBox*>(widget);
    else if (row.name == "imgTolvex")
        form.imgTolvex = static_cast<ImageBox*>(widget);
    else if (row.name == "shapeTitle")
        form.shapeTitle = static_cast<CircleShape*>(widget);
}

void build(frmTolvex& form, const ControlRow& row) {
    QWidget* parent = containerOf(form, row, &form);
    QWidget* widget = nullptr;
    switch (row.kind) {
        case ControlKind::Label: widget = makeLabel(parent, row); break;
        case ControlKind::TextBox: {
            TextBox* box = makeTextBox(parent, row);
            form.txtField.add(row.index, box);
            widget = box->widget();
            break;
        }
        case ControlKind::Frame: {
            auto* frame = new PageFrame(parent);
            applyColours(*frame, row);
            widget = frame;
            break;
        }
        case ControlKind::Image: {
            auto* image = new ImageBox(parent);
            image->setAccessibleName(captionOf(row));
            widget = image;
            break;
        }
        case ControlKind::Shape: {
            auto* shape = new CircleShape(parent);
            shape->setColours(units::colour(*row.foreColour), units::colour(*row.backColour));
            widget = shape;
            break;
        }
    }
    const QString name = QString::fromUtf8(row.name.data(), qsizetype(row.name.size()));
    widget->setObjectName(row.index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(row.index) : name);
    widget->setGeometry(units::pixels(row.rect.left), units::pixels(row.rect.top),
                        units::pixels(row.rect.width), units::pixels(row.rect.height));
    if (row.flags & layout::AutoSize) autoSize(*static_cast<QLabel*>(widget));
    if (row.flags & layout::Hidden) widget->hide();
    registerControl(form, row, widget);
}

// Only the answer boxes take the keyboard focus, in their designed order.
void setKeyboardOrder(frmTolvex& form, const std::vector<const ControlRow*>& rows) {
    std::vector<const ControlRow*> boxes;
    for (const ControlRow* row : rows)
        if (row->kind == ControlKind::TextBox) boxes.push_back(row);
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

void buildDesignedLayout(frmTolvex& form) {
    // Containers first; within a container the bottom-most control is made first, since a
    // later sibling lies on top.
    std::vector<const ControlRow*> windowRows;
    std::vector<const ControlRow*> innerRows;
    for (const ControlRow& row : layout::designedControls())
        (row.container.name.empty() ? windowRows : innerRows).push_back(&row);
    for (auto it = windowRows.rbegin(); it != windowRows.rend(); ++it)
        build(form, **it);
    for (auto it = innerRows.rbegin(); it != innerRows.rend(); ++it)
        build(form, **it);

    std::vector<const ControlRow*> all(windowRows);
    all.insert(all.end(), innerRows.begin(), innerRows.end());
    setKeyboardOrder(form, all);

    form.imgTolvex->setPicture(QPixmap(resources::kLogo));
}

}  // namespace tolvex
