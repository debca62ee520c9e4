#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class QWidget;

// Without a window manager, a "close" from another X client destroys the game's window
// outright and the program would run on with nothing to show. This watch notices the
// native window's destruction; the window then builds itself anew.
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
