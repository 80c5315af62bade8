#pragma once

class QWidget;

// Moves a shown window into the band of windows that stay above the others, or
// out of it, without moving, resizing or activating it. A hidden window (or
// none) is left as it is.
void SetStayOnTop(QWidget* window, bool onTop);
