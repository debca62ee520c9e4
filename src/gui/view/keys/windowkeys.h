#pragma once

#include <QList>

class FieldView;
class frmMain;
class QWidget;

// The window's keys and what a screen reader is told: Ctrl and Esc (Form_KeyDown,
// Form_KeyUp), the game by keys, acted out as the mouse would (a cell pointed at, then
// pic_MouseDown), and the spoken news of the game for keys and mouse alike.
namespace WindowKeys {

// controls: the window's controls other than the cells, in any order.
void attach(frmMain &window, const FieldView &fields, const QList<QWidget *> &controls);

} // namespace WindowKeys
