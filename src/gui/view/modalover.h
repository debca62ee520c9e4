#pragma once

class QDialog;
class QWidget;

// Runs a box of the game modally over the window it belongs to.
namespace ModalOver {

// Shows the box until it is answered and returns its result. The window under it then
// takes the keys back at once: without a window manager nothing else gives them back, and
// the keys pressed meanwhile would be lost. A box whose window another program destroys is
// answered as Esc would answer it.
int exec(QDialog &box, QWidget *parent);

} // namespace ModalOver
