#pragma once

class QWidget;

namespace vt {
// Centres a top-level window on the screen that holds the pointer (the primary one otherwise).
void centerOnScreen(QWidget* window);
// Shows the window, raises it above the others and gives it the keyboard.
void bringToFront(QWidget* window);
} // namespace vt
