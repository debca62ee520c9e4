#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// Colours and fonts of the window. Sizes are in pixels (the window's points at
// 96 dots per inch), so the layout is the same on every screen.
namespace Look {

inline const QColor Sea {69, 87, 129}; // the window's background, the fields' water
inline const QColor Orange {243, 119, 7}; // nearly every caption
inline const QColor LabelOrange {255, 128, 0}; // the coordinate labels
inline const QColor WindowText {0, 0, 128};
inline const QColor CellFrame {24, 32, 56}; // the thin border of a cell: the grid lines
inline const QColor FocusMark {255, 236, 160}; // around the control the keys act on

QFont serif(int pixelSize, bool bold = false, bool italic = false);
QFont arialBlack(int pixelSize);
// The main window's sea-blue background, dark blue text and bold italic serif.
void dressWindow(QWidget *window);
// The colour of a control's caption, whatever kind of control it is.
void paintText(QWidget *widget, const QColor &text);

} // namespace Look
