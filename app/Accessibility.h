#pragma once

class QWidget;

namespace tolvex {

// Tells screen readers what the window's self-drawn controls are: the window by its title, the
// tab rows as page-tab lists of page tabs (the shown one selected), "X", "Begin" and "Finish"
// as push buttons, the two home-page labels as links, each with the action that clicks it; the
// decoration (eye lights, corner circle, the corner's drag area) stays out of their way.
// The answer boxes need nothing here: each is named by its question, whose label is its buddy.
// Installed once, by the first window, before any of its controls is made.
void installAccessibility();

// The builder's marks: decoration is left out; a tab row is a page-tab list.
void markAsDecoration(QWidget& widget);
void markAsTabList(QWidget& widget);

}  // namespace tolvex
