#pragma once

#include "view/cellview.h"
#include "view/frmmain.h"
#include "view/textbutton.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <QTest>

// Mouse and keys on the real window, at the centres of its controls.
namespace WindowDriver {

inline QPoint centreOf(const QWidget *control)
{
    return control->geometry().center();
}

inline void moveTo(frmMain &w, const QPoint &point)
{
    QTest::mouseMove(&w, point);
}

inline void moveToCell(frmMain &w, int index)
{
    moveTo(w, centreOf(w.pic[index]));
}

inline void pressCell(frmMain &w, int index, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(w.pic[index], button, {}, QPoint(16, 16));
    QTest::mouseRelease(w.pic[index], button, {}, QPoint(16, 16));
}

// A press where a player would press: on whatever lies at the cell's centre, a hit-marker
// box over a hit cell included.
inline void pressOnScreen(frmMain &w, int index, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint point = centreOf(w.pic[index]);
    QWidget *target = w.childAt(point);
    QVERIFY(target);
    QTest::mousePress(target, button, {}, target->mapFrom(&w, point));
    QTest::mouseRelease(target, button, {}, target->mapFrom(&w, point));
}

inline void click(QWidget *control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

// A point of the bare window: between the fields and the placement controls.
inline QPoint bareWindow()
{
    return {420, 470};
}

inline int playerCell(int row, int column)
{
    return (row - 1) * 10 + (column - 1);
}

inline int compCell(int row, int column)
{
    return 100 + (row - 1) * 10 + (column - 1);
}

} // namespace WindowDriver
