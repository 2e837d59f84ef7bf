#include "DesignedLayout.h"
#include "Navigation.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

void frmTolvex::lblBtn_MouseMove(std::int16_t Index) {
    const std::optional<wizard::HoverChange> change = wizard::hoverChange(HoverBtn, Index);
    if (!change) return;
    if (change->putOut) units::setColour(lblBtn(*change->putOut), QPalette::WindowText, layout::kLightViolet);
    units::setColour(lblBtn(change->light), QPalette::WindowText, layout::kHoverOrange);
    HoverBtn = Index;
}

void frmTolvex::ClearHighlights() {
    units::setColour(lblBtn(HoverBtn), QPalette::WindowText, layout::kLightViolet);
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
