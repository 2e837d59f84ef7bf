#include "DesignedLayout.h"
#include "Navigation.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

namespace {

void setTop(QWidget* frame, int twips) {
    if (frame) frame->move(frame->x(), units::pixels(twips));
}

void setShown(QWidget* page, bool visible) {
    if (page) page->setVisible(visible);
}

void setSelected(ClickLabel* tab, bool selected) {
    if (tab) tab->setSelected(selected);
}

}  // namespace

void frmTolvex::lblBtn_Click(std::int16_t Index) {
    switch (wizard::actionOf(Index)) {
        case wizard::ButtonAction::Close: close(); return;
        case wizard::ButtonAction::OpenHomePage: OpenHomePage(); return;
        case wizard::ButtonAction::Begin: lblBtn_Click(wizard::kGeneralTab); return;
        case wizard::ButtonAction::Finish: WriteApplication(); return;
        case wizard::ButtonAction::Nothing: return;
        case wizard::ButtonAction::ShowPage: break;
    }
    const std::optional<wizard::PageSwitch> change = wizard::pageSwitch(CurrentTab, Index);
    if (!change) return;
    if (change->frontRow) {
        const int front = *change->frontRow;
        setTop(fTabHolder(std::int16_t(front)), layout::kFrontRowTop);
        setTop(fTabHolder(std::int16_t(1 - front)), layout::kBackRowTop);
    }
    units::setColour(lblBtn(change->fromTab), QPalette::Window,
                     layout::tabColour(change->fromTab, change->toTab));
    units::setColour(lblBtn(change->toTab), QPalette::Window,
                     layout::tabColour(change->toTab, change->toTab));
    setShown(fTab(std::int16_t(wizard::pageOfTab(change->fromTab))), false);
    setShown(fTab(std::int16_t(wizard::pageOfTab(change->toTab))), true);
    CurrentTab = change->toTab;
    setSelected(lblBtn(change->fromTab), false);
    setSelected(lblBtn(change->toTab), true);
    focusShownPage();
}

// Typing right after a page is shown lands in its first answer box; on a page without boxes the
// window itself holds the focus, so that its keys work.
void frmTolvex::focusShownPage() {
    const std::optional<std::int16_t> first = wizard::firstQuestionOn(wizard::pageOfTab(CurrentTab));
    if (TextBox* box = first ? txtField(*first) : nullptr) {
        box->widget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    setFocus(Qt::OtherFocusReason);
}

}  // namespace tolvex
