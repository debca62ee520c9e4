#include "view/modalover.h"

#include "view/inwindowbox.h"
#include "view/windowlosswatch.h"

#include <QDialog>
#include <QGuiApplication>

int ModalOver::exec(QDialog &box, QWidget *parent)
{
    // A Wayland compositor places the box where it likes, and Qt frames it with buttons
    // that can hide it for good: drawn inside the window instead, it needs no window of its
    // own. Before the window is shown, the box stands alone, without Qt's frame.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        if (parent && parent->isVisible())
            return InWindowBox(box, *parent->window()).exec();
        box.setWindowFlags(box.windowFlags() | Qt::FramelessWindowHint);
    }

    // GNOME's window manager neither centres a tool window over its parent nor gives it the
    // keys; a dialog looks the same there, with a close button only, and gets both.
    const Qt::WindowFlags flags = box.windowFlags();
    if ((flags & Qt::WindowType_Mask) == Qt::Tool
        && qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(u"GNOME"))
        box.setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
    // Another X client destroyed the box's window: the box is closed as its close button would
    // close it, which answers it as Esc does. Its modal loop would otherwise run on without a
    // window, and the window under it would take no key or click again. Qt is not told to drop
    // the native window first: that hides the box without ending its loop.
    WindowLossWatch loss(box);
    QObject::connect(&loss, &WindowLossWatch::windowDestroyed, &box, [&box] {
        if (!box.close())
            box.reject();
    });
    const int answer = box.exec();
    if (parent && parent->isVisible())
        parent->window()->activateWindow();
    return answer;
}
