#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QWidget;

// Where each control of frmMain stands, in pixels of the 800 x 600 window. The single
// controls take their places from one table by their object names; each array of
// controls (cells, coordinate labels, hit markers, picker members, level buttons)
// follows one rule.
namespace WindowLayout {

// Sets the geometry of a single control from the table, by its object name.
void place(QWidget *control);

QRect cell(int index); // pic(index): 0..99 the left field, 100..199 the right one
QRect coordinateLabel(int k); // Label1(k): 0..19 row numbers, 20..39 column letters
QRect hitMarker(int k); // picBoom(k), parked below the fields until used
QRect pickerMember(int member); // rb(member)
QRect levelButton(int k); // rbL(k)

// The controls in the order they are read on the screen, top to bottom, then left to
// right, by the places this layout gave them: the order of Tab.
QList<QWidget *> inReadingOrder(QList<QWidget *> controls);

} // namespace WindowLayout
