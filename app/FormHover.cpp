#include "Navigation.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

void frmTolvex::lblBtn_MouseMove(std::int16_t Index) {
    if (HoverBtn == Index) return;
    // While HoverBtn is -1 there is no label to reset.
    units::setColour(lblBtn(HoverBtn), QPalette::WindowText, wizard::kButtonTextColour);
    units::setColour(lblBtn(Index), QPalette::WindowText, wizard::kHoverTextColour);
    HoverBtn = Index;
}

void frmTolvex::ClearHighlights() {
    units::setColour(lblBtn(HoverBtn), QPalette::WindowText, wizard::kButtonTextColour);
    lblEyeLights->setVisible(false);
    HoverBtn = -1;
    EyeLightsOff = true;
}

void frmTolvex::imgIcon_MouseMove() {
    if (!EyeLightsOff) return;
    lblEyeLights->setVisible(true);
    EyeLightsOff = false;
}

}  // namespace tolvex
