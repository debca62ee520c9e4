#pragma once

#include <QtGlobal>

class QWidget;

// The aim cursor Sn.cur over the computer's field in battle. The file is read at each
// move; a cursor is only built anew when its picture changed.
class AimCursor
{
public:
    void showOn(QWidget &window);
    void hideFrom(QWidget &window);

private:
    qint64 m_picture = 0; // the cache key of the picture now set
};
