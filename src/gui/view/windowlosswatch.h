#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QWidget;

// Without a window manager, a "close" from another X client destroys a window of the game
// outright and the program would run on with nothing to show. This watch notices the
// native window's destruction: the main window then builds itself anew, a box is answered.
class WindowLossWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit WindowLossWatch(QWidget &window);
    ~WindowLossWatch() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    // Queued: it arrives from the event loop, after the X event has been handled.
    void windowDestroyed();

private:
    QWidget &m_window;
};
