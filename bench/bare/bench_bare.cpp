// The yardstick of bench/run.sh: the least a Qt Widgets program does to show a window,
// an empty 800 x 600 QWidget. Its start-up time, memory and idle CPU are what the game's
// figures are set against. With --notice it shows instead a bare message box with a text as
// long as the game's authorship notice: the least any first window with text costs.
#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--notice") == 0) {
        QMessageBox box(QMessageBox::NoIcon, QString(),
                        QStringLiteral("Морской бой\nВерсия 1.0\n\nИгра для одного игрока против "
                                       "компьютера.\n© 2026 Разработчики игры «Морской бой»"),
                        QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? 0 : 1;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("bench_bare"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
