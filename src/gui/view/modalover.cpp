#include "view/modalover.h"

#include <QDialog>
#include <QGuiApplication>

namespace {
bool onGnome()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP")
        .split(QLatin1Char(':'))
        .contains(QLatin1String("GNOME"));
}
} // namespace

int ModalOver::exec(QDialog &box, QWidget *parent)
{
    Qt::WindowFlags flags = box.windowFlags();
    // GNOME's window manager neither centres a tool window over its parent nor gives it the
    // keys; a dialog looks the same there, with a close button only, and gets both.
    if ((flags & Qt::WindowType_Mask) == Qt::Tool && onGnome())
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        flags = (flags & Qt::WindowType_Mask) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint;
    if (flags != box.windowFlags())
        box.setWindowFlags(flags);
    const int answer = box.exec();
    if (parent && parent->isVisible())
        parent->window()->activateWindow();
    return answer;
}
