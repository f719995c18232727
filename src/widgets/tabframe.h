// The frame of a tab control whose strip and pages are placed by hand: drawn
// by the style from the bottom of the strip's first tab down to the control's
// bottom, as a tab widget draws it.
#pragma once

class QTabBar;
class QWidget;

// Call from the control's paintEvent; pTabBar is a child of pControl.
void PaintTabFrame(QWidget* pControl, const QTabBar* pTabBar);
