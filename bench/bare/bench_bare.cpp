// The yardstick of bench/run.sh: the least a Qt Widgets program does to show a window,
// an empty 800 x 600 QWidget. Its start-up time, memory and idle CPU are what the game's
// figures are set against.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bench_bare"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
