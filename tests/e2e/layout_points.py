"""Points of the window where a person clicks, in window pixels, from the design's twips."""

from harness import px

PAGE_LEFT, PAGE_TOP = 135, 1485
ROW_LEFT = 135
FRONT_ROW_TOP, BACK_ROW_TOP = 1215, 930
TAB_LEFTS = (0, 1815, 3630, 5445)

# Answer boxes: page-relative rectangles in twips (left, top, width, height).
BOXES = {
    0: (1020, 285, 1470, 285), 1: (1020, 795, 420, 285), 2: (4830, 285, 1470, 285),
    3: (4830, 795, 1470, 285), 4: (4830, 1290, 1470, 285), 5: (4830, 1800, 1470, 285),
    6: (2655, 2280, 3645, 285), 7: (2985, 2745, 3315, 285),
    8: (345, 570, 1470, 285), 9: (345, 1275, 5925, 285),
    10: (345, 585, 1470, 285), 11: (345, 1215, 1470, 285), 12: (345, 1860, 735, 285),
    13: (345, 2490, 5925, 840),
    14: (345, 585, 1470, 285), 15: (345, 1230, 705, 285), 16: (345, 1875, 6300, 1050),
    17: (345, 570, 1185, 285), 18: (345, 1200, 4185, 285), 19: (345, 1845, 6390, 285),
    20: (345, 2505, 6390, 630),
    21: (345, 840, 6540, 1695),
}
# The tab (lblBtn index) whose page holds each answer box.
TAB_OF_BOX = {**{i: 3 for i in range(8)}, 8: 4, 9: 4, 10: 5, 11: 5, 12: 5, 13: 5,
              14: 6, 15: 6, 16: 6, 17: 7, 18: 7, 19: 7, 20: 7, 21: 8}
MULTI_LINE = {13, 16, 20, 21}


def row_of(tab):
    return 0 if tab <= 5 else 1


def tab_point(tab, current_tab):
    """Centre of tab `tab` while `current_tab` is shown (its row stands in front)."""
    top = FRONT_ROW_TOP if row_of(tab) == row_of(current_tab) else BACK_ROW_TOP
    left = ROW_LEFT + TAB_LEFTS[(tab - 2) % 4]
    return px(left + 900), px(top + 135)


def box_point(box):
    left, top, width, height = BOXES[box]
    # Near the box's left edge, where a click puts the caret into the text.
    return px(PAGE_LEFT + left + 60), px(PAGE_TOP + top + min(height, 285) // 2)


def page_point(left, top, width, height):
    return px(PAGE_LEFT + left + width // 2), px(PAGE_TOP + top + height // 2)


BEGIN = page_point(6225, 3045, 885, 345)
FINISH_LABEL = page_point(5910, 3045, 1200, 345)
CLOSE_X = (px(7245 + 90), px(170))
HOME_LINK = (px(135 + 150), px(5025 + 165))
CREDIT_LABEL = (px(4605 + 2000), px(5070 + 120))
