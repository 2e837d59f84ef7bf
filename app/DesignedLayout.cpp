#include "DesignedLayout.h"

#include <array>

#include "Navigation.h"

namespace tolvex::layout {

namespace {

using enum ControlKind;

constexpr Container kWindow{"", -1};
constexpr Container page(std::int16_t index) { return {"fTab", index}; }
constexpr Container tabRow(std::int16_t index) { return {"fTabHolder", index}; }

constexpr Font kNoFont{"", 0, false};
constexpr Font kQuestionFont{"Courier New", 9.75, true};
constexpr Font kAnswerFont{"Courier New", 9, false};
constexpr Font kTabFont{"Courier New", 12, true};
constexpr Font kButtonFont{"Courier New", 14.25, true};
constexpr Font kTitleFont{"Courier New", 15.75, true};
constexpr Font kWelcomeFont{"Courier New", 20.25, true};
constexpr Font kEyeLightsFont{"MS Sans Serif", 24, false};

constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kTitleGrey = 0x00E0E0E0;
constexpr std::uint32_t kTabRowRed = 0x00000040;
constexpr std::uint32_t kBlack = 0x00000000;

constexpr std::optional<std::uint32_t> kNone = std::nullopt;

constexpr ControlRow frame(std::string_view name, std::int16_t index, Twips rect, std::uint32_t back,
                           unsigned flags, int tabOrder) {
    return {Frame, name, index, kWindow, rect, "", kNoFont, kNone, back, flags | Opaque, tabOrder};
}

constexpr ControlRow pageFrame(std::int16_t index, unsigned flags, int tabOrder) {
    return frame("fTab", index, {135, 1485, 7245, 3495}, kPageViolet, flags, tabOrder);
}

// The table reads best one control to a line.
// clang-format off

// Where each slot of a tab row lies: 15-twip gaps between the tabs show the row.
constexpr std::array<int, 4> kTabLefts{0, 1815, 3630, 5445};

// A tab as the window is designed: the Welcome tab selected, its row in front.
constexpr ControlRow tab(std::int16_t button, int tabOrder) {
    const wizard::Tab& t = wizard::tab(button);
    const Twips rect{kTabLefts[std::size_t(t.slot)], 0, 1800, 270};
    return {Label, "lblBtn", button, tabRow(std::int16_t(t.row)), rect, t.caption, kTabFont, kLightViolet,
            tabColour(button, wizard::kWelcomeTab), Opaque | AlignCentre, tabOrder};
}

constexpr ControlRow tabRowFrame(std::int16_t row, int tabOrder) {
    const Twips rect{135, rowTop(row, wizard::kWelcomeTab), 7290, 270};
    return frame("fTabHolder", row, rect, kTabRowRed, NoFlags, tabOrder);
}

// Questions and answer boxes stand on the pages the questionnaire gives them.
constexpr ControlRow question(std::int16_t index, Twips rect, int tabOrder, unsigned flags = AutoSize) {
    return {Label,  "lblCaption", index, page(std::int16_t(wizard::captionPage(index))), rect, "", kQuestionFont,
            kRed,   kNone,        flags | QuestionnaireText,                              tabOrder};
}

constexpr ControlRow answer(std::int16_t index, Twips rect, int tabOrder) {
    const std::int16_t onPage = std::int16_t(wizard::kQuestions[std::size_t(index)].page);
    return {TextBox, "txtField", index, page(onPage), rect, "", kAnswerFont, kNone, kNone, NoFlags, tabOrder};
}

constexpr auto kControls = std::to_array<ControlRow>({
    // The window, topmost first.
    pageFrame(0, NoFlags, 5),
    pageFrame(7, Hidden, 22),
    pageFrame(2, Hidden, 17),
    pageFrame(3, Hidden, 18),
    pageFrame(4, Hidden, 19),
    pageFrame(6, Hidden, 21),
    pageFrame(5, Hidden, 20),
    tabRowFrame(1, 11),
    tabRowFrame(0, 6),
    pageFrame(1, Hidden, 16),
    {Label, "Label1", -1, kWindow, {4605, 5070, 2775, 255}, "", kTabFont, kRed, kBlack, Opaque | AlignRight, 73},
    {Label, "lblEyeLights", -1, kWindow, {150, -90, 270, 555}, "..", kEyeLightsFont, kRed, kNone,
     Hidden | Decoration, 4},
    {Label, "lblBtn", wizard::kHomePageLink, kWindow, {135, 5025, 105, 330}, "", kButtonFont, kLightViolet, kNone, AutoSize, 3},
    {Label, "lblBtn", wizard::kCloseButton, kWindow, {7245, 0, 180, 345}, "X", kButtonFont, kLightViolet, kNone, NoFlags, 2},
    {Image, "imgIcon", -1, kWindow, {60, 75, 480, 480}, "Tolvex Devoz", kNoFont, kNone, kNone, NoFlags, -1},
    {Label, "lblTitleBar", 0, kWindow, {720, 0, 7575, 360}, "Tolvex Devoz - App Generator", kTitleFont, kTitleGrey,
     kGrey, Opaque, 0},
    {Shape, "shapeTitle", -1, kWindow, {-675, -525, 1710, 1215}, "", kNoFont, kGrey, kGrey, Decoration, -1},
    {Label, "lblTitleBar", 1, kWindow, {-1845, -75, 2580, 780}, "", kNoFont, kNone, kNone,
     Decoration, 1},

    // Welcome page.
    {Label, "lblBtn", wizard::kBeginButton, page(0), {6225, 3045, 885, 345}, "Begin", kButtonFont, kLightViolet, kPageViolet, Opaque, 24},
    {Label, "lblWelcome", -1, page(0), {3045, 465, 4095, 2295}, "", kWelcomeFont, kLightViolet, kNone,
     AlignCentre | WordWrap | QuestionnaireText, 23},
    {Image, "imgTolvex", -1, page(0), {225, 465, 2625, 2310}, "", kNoFont, kNone, kNone, NoFlags, -1},

    // Finish page.
    {Label, "lblBtn", wizard::kFinishButton, page(7), {5910, 3045, 1200, 345}, "Finish", kTitleFont, kLightViolet, kNone, NoFlags, 72},
    question(22, {345, 285, 6495, 1350}, 71, WordWrap),

    // Courier page.
    answer(9, {345, 1275, 5925, 285}, 45),
    answer(8, {345, 570, 1470, 285}, 44),
    question(9, {345, 990, 5880, 240}, 43),
    question(8, {345, 285, 4560, 240}, 42),

    // Site op page.
    answer(13, {345, 2490, 5925, 840}, 53),
    answer(12, {345, 1860, 735, 285}, 52),
    answer(11, {345, 1215, 1470, 285}, 51),
    answer(10, {345, 585, 1470, 285}, 46),
    question(13, {345, 2190, 5880, 240}, 50),
    question(12, {345, 1560, 4800, 240}, 49),
    question(11, {345, 930, 3960, 240}, 48),
    question(10, {345, 285, 2160, 240}, 47),

    // Bot Master page.
    answer(16, {345, 1875, 6300, 1050}, 59),
    answer(15, {345, 1230, 705, 285}, 58),
    answer(14, {345, 585, 1470, 285}, 55),
    question(16, {345, 1590, 5760, 240}, 57),
    question(15, {345, 945, 3480, 240}, 56),
    question(14, {345, 285, 4320, 240}, 54),

    // Other page.
    answer(21, {345, 840, 6540, 1695}, 69),
    question(21, {345, 285, 6495, 525}, 70, WordWrap),

    // Coder page.
    answer(20, {345, 2505, 6390, 630}, 68),
    answer(19, {345, 1845, 6390, 285}, 67),
    answer(18, {345, 1200, 4185, 285}, 66),
    answer(17, {345, 570, 1185, 285}, 61),
    question(41, {345, 3210, 4440, 240}, 65),
    question(20, {345, 2190, 1920, 240}, 64),
    question(19, {345, 1560, 3480, 240}, 63),
    question(18, {345, 930, 4200, 240}, 62),
    question(17, {345, 285, 3600, 240}, 60),

    // Back tab row.
    tab(wizard::kFinishTab, 15),
    tab(wizard::kOtherTab, 14),
    tab(wizard::kCoderTab, 13),
    tab(wizard::kBotMasterTab, 12),

    // Front tab row.
    tab(wizard::kSiteOpTab, 10),
    tab(wizard::kCourierTab, 9),
    tab(wizard::kGeneralTab, 8),
    tab(wizard::kWelcomeTab, 7),

    // General page.
    answer(7, {2985, 2745, 3315, 285}, 40),
    answer(6, {2655, 2280, 3645, 285}, 39),
    answer(5, {4830, 1800, 1470, 285}, 38),
    answer(4, {4830, 1290, 1470, 285}, 37),
    answer(3, {4830, 795, 1470, 285}, 36),
    answer(2, {4830, 285, 1470, 285}, 35),
    answer(1, {1020, 795, 420, 285}, 34),
    answer(0, {1020, 285, 1470, 285}, 26),
    question(40, {60, 3225, 7125, 270}, 41, NoFlags),
    question(7, {450, 2745, 2520, 240}, 33),
    question(6, {450, 2280, 2160, 240}, 32),
    question(5, {450, 1800, 4320, 240}, 31),
    question(4, {3930, 1290, 840, 240}, 30),
    question(3, {2730, 795, 2040, 240}, 29),
    question(2, {3810, 285, 960, 240}, 28),
    question(1, {465, 795, 480, 240}, 27),
    question(0, {345, 285, 600, 240}, 25),
});
// clang-format on

}  // namespace

std::span<const ControlRow> designedControls() { return kControls; }

}  // namespace tolvex::layout
