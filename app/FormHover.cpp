#include "Navigation.h"
#include "Units.h"
#include "frmTolvex.h"

namespace tolvex {

namespace {

void setTextColour(QWidget* label, std::uint32_t bgr) {
    if (!label) return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, units::colour(bgr));
    label->setPalette(palette);
}

}  // namespace

void frmTolvex::lblBtn_MouseMove(std::int16_t Index) {
    if (HoverBtn == Index) return;
    // While HoverBtn is -1 there is no label to reset.
    setTextColour(lblBtn(HoverBtn), wizard::kButtonTextColour);
    setTextColour(lblBtn(Index), wizard::kHoverTextColour);
    HoverBtn = Index;
}

void frmTolvex::ClearHighlights() {
    setTextColour(lblBtn(HoverBtn), wizard::kButtonTextColour);
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
