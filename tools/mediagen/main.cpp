// mediagen: draws and composes the game's media files. Run it by hand after changing
// any of its sources, as `mediagen <repository root>`, and commit what it rewrote.
#include "mediaset.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Only offscreen painting is needed; no display server has to be around.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: mediagen <repository root>\n");
        return 2;
    }
    return MediaSet::writeAll(arguments.at(1)) ? 0 : 1;
}
