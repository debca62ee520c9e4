#pragma once

#include "view/controls/textbutton.h"
#include "view/effects/boombox.h"
#include "view/effects/effects.h"
#include "view/effects/hitmarkers.h"
#include "view/fields/cellview.h"
#include "view/frmmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <QTest>

// Mouse and keys on the real window, at the centres of its controls, which it finds by
// their names.
namespace WindowDriver {

template<typename T = QWidget> T *find(frmMain &w, const QString &name)
{
    T *control = w.findChild<T *>(name);
    if (!control)
        qFatal("No control %s in the window", qPrintable(name));
    return control;
}

// The members of a control array, name(0) .. name(count - 1).
template<typename T = QWidget> QList<T *> array(frmMain &w, const char *name, int count)
{
    QList<T *> members;
    for (int k = 0; k < count; ++k)
        members << find<T>(w, QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(k));
    return members;
}

inline CellView *cell(frmMain &w, int index)
{
    return find<CellView>(w, QStringLiteral("pic(%1)").arg(index));
}

inline QTimer *timer(frmMain &w, const char *name)
{
    return find<QTimer>(w, QLatin1String(name));
}

inline Effects &effects(frmMain &w)
{
    return *find<Effects>(w, QStringLiteral("effects"));
}

inline HitMarkers &hitMarkers(frmMain &w)
{
    return *find<HitMarkers>(w, QStringLiteral("picBoom"));
}

// How many hit markers show: the number of explosions since the game began.
inline int markersShown(frmMain &w)
{
    int shown = 0;
    for (BoomBox *box : array<BoomBox>(w, "picBoom", 40))
        shown += !box->isHidden();
    return shown;
}

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
    moveTo(w, centreOf(cell(w, index)));
}

inline void pressCell(frmMain &w, int index, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(cell(w, index), button, {}, QPoint(16, 16));
    QTest::mouseRelease(cell(w, index), button, {}, QPoint(16, 16));
}

// A press where a player would press: on whatever lies at the cell's centre, a hit-marker
// box over a hit cell included.
inline void pressOnScreen(frmMain &w, int index, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint point = centreOf(cell(w, index));
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
