#include "Navigation.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

namespace {

void setTop(QWidget* widget, int twips) {
    if (widget) widget->move(widget->x(), units::pixels(twips));
}

void setShown(QWidget* widget, bool visible) {
    if (widget) widget->setVisible(visible);
}

}  // namespace

void frmTolvex::lblBtn_Click(std::int16_t Index) {
    switch (Index) {
        case wizard::kCloseButton: close(); return;
        case wizard::kHomePageLink: OpenHomePage(); return;
        case wizard::kBeginButton: lblBtn_Click(wizard::kGeneralTab); return;
        case wizard::kFinishButton: WriteApplication(); return;
        default: break;
    }
    if (!wizard::isTab(Index) || Index == CurrentTab) return;

    const int row = wizard::rowOfTab(Index);
    if (row != wizard::rowOfTab(CurrentTab)) {
        setTop(fTabHolder(std::int16_t(row)), wizard::kFrontRowTop);
        setTop(fTabHolder(std::int16_t(1 - row)), wizard::kBackRowTop);
    }
    units::setColour(lblBtn(CurrentTab), QPalette::Window, wizard::kUnselectedTabColour);
    units::setColour(lblBtn(Index), QPalette::Window, wizard::kSelectedTabColour);
    setShown(fTab(std::int16_t(wizard::pageOfTab(CurrentTab))), false);
    setShown(fTab(std::int16_t(wizard::pageOfTab(Index))), true);
    CurrentTab = Index;
}

}  // namespace tolvex
