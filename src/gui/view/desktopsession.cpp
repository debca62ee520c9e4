#include "view/desktopsession.h"

#include <QApplication>
#include <QIcon>

void DesktopSession::preferXServer()
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qgetenv("XDG_SESSION_TYPE") == "wayland";
    const bool xServer = !qEnvironmentVariableIsEmpty("DISPLAY");
    // Qt tries the platforms in order: Wayland still serves when the X server cannot be
    // reached after all.
    if (!chosen && wayland && xServer)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void DesktopSession::dressApplication()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}
