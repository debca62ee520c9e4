#include "view/keys/keywatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyWatch::KeyWatch(QWidget &window) : QObject(&window), m_window(window)
{
    qApp->installEventFilter(this);
}

KeyWatch::~KeyWatch()
{
    qApp->removeEventFilter(this);
}

bool KeyWatch::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!key || !watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != &m_window)
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int code = keyEvent->key();
    if (code != Qt::Key_Control && code != Qt::Key_Escape)
        return false;
    if (event->type() == QEvent::KeyPress) {
        if (!keyEvent->isAutoRepeat() || code == Qt::Key_Control)
            emit keyDown(code);
    } else if (!keyEvent->isAutoRepeat()) {
        emit keyUp(code);
    }
    return true;
}
