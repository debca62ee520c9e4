#include "windowdriver.h"
#include "windowfixture.h"

#include "model/fleet.h"
#include "view/controls/scorepanel.h"
#include "view/effects/boombox.h"
#include "view/fields/cellview.h"
#include "view/spoken/announcement.h"
#include "view/spoken/spokenwords.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace WindowDriver;

class WindowLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_fixture = std::make_unique<WindowFixture>(WindowFixture::Media::Copied, false);
    }
    void cleanup() { m_fixture.reset(); }

    void windowIsAFixedFramelessSlateBlueArea();
    void controlsStartInPlace_data();
    void controlsStartInPlace();
    void cellsSitOnTheirFields_data();
    void cellsSitOnTheirFields();
    void hiddenHelpersAndTimersStartStopped();
    void everyPartHasARussianAccessibleName();
    void cellsTellOnlyWhatThePlayerKnows();
    void messagesAreSaidWithoutSigns();
    void theNewsIsNeverSeen();

private:
    std::unique_ptr<WindowFixture> m_fixture;
};

// The window is 800 x 600, cannot be resized, has no frame and is slate blue.
void WindowLayoutTest::windowIsAFixedFramelessSlateBlueArea()
{
    frmMain &w = m_fixture->w();
    QCOMPARE(w.size(), QSize(800, 600));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.palette().color(QPalette::Window), QColor(69, 87, 129));
    QCOMPARE(w.windowTitle(), QStringLiteral("Морской бой"));
}

// Every named control stands where the layout puts it, with its caption, font and
// visibility at start. One row per control.
void WindowLayoutTest::controlsStartInPlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("fontPixels"); // 0: not checked
    QTest::addColumn<QColor>("text"); // invalid: not checked

    const QColor orange(243, 119, 7);
    const QColor labelOrange(255, 128, 0);
    auto row = [](const char *name, QRect geometry, bool shown, const char *caption, int pixels,
                  QColor text) {
        QTest::newRow(name) << QString::fromUtf8(name) << geometry << shown
                            << QString::fromUtf8(caption) << pixels << text;
    };
    row("imgBack1", {32, 35, 354, 351}, true, "", 0, {});
    row("imgBack2", {440, 35, 354, 351}, true, "", 0, {});
    row("LeftL", {80, 416, 111, 111}, false, "", 0, {});
    row("RightL", {648, 416, 111, 111}, false, "", 0, {});
    row("Picture1", {0, 552, 33, 33}, false, "", 0, {});
    row("Label1(0)", {8, 48, 14, 31}, true, "1", 27, labelOrange);
    row("Label1(9)", {0, 336, 28, 31}, true, "10", 27, labelOrange);
    row("Label1(10)", {416, 32, 14, 31}, true, "1", 27, labelOrange);
    row("Label1(19)", {408, 320, 28, 31}, true, "10", 27, labelOrange);
    row("Label1(20)", {48, 0, 32, 31}, true, "А", 27, labelOrange);
    row("Label1(29)", {336, 0, 32, 31}, true, "К", 27, labelOrange);
    row("Label1(30)", {456, 0, 32, 31}, true, "А", 27, labelOrange);
    row("Label1(39)", {744, 0, 32, 31}, true, "К", 27, labelOrange);
    row("chGrid", {16, 576, 145, 19}, true, "Разметка сетки", 16, orange);
    row("chMusic", {176, 576, 81, 19}, true, "Музыка", 16, orange);
    row("chBack", {272, 576, 129, 19}, true, "Объемный вид", 16, orange);
    row("chPoints", {408, 576, 65, 19}, true, "Счет", 16, orange);
    row("lblStat", {592, 576, 96, 19}, true, "Статистика", 16, orange);
    row("cmdNewGame", {704, 576, 81, 19}, false, "Новая Игра", 16, orange);
    row("lblSetAuto", {288, 392, 215, 21}, true, "Расставить автоматически", 16, orange);
    row("lblSetY", {288, 424, 212, 21}, true, "Расставить корабли самому", 16, orange);
    row("lblAgree", {288, 424, 215, 21}, false, "Принять расстановку", 16, orange);
    row("lblHelp", {176, 392, 439, 19}, false,
        "Для горизонтальной расстановки удерживайте клавишу Ctrl", 16, orange);
    row("rbL(0)", {296, 424, 209, 25}, false, "Легкий", 19, {});
    row("rbL(1)", {296, 480, 209, 25}, false, "Средний", 19, {});
    row("rbL(2)", {296, 536, 209, 25}, false, "Сложный", 19, {});
    const int pickerTops[10] = {408, 424, 440, 456, 472, 504, 536, 552, 488, 520};
    const char *const pickerNames[10] = {"rb(0)", "rb(1)", "rb(2)", "rb(3)", "rb(4)",
                                         "rb(5)", "rb(6)", "rb(7)", "rb(8)", "rb(9)"};
    const char *const pickerCaptions[10] = {"4", "3", "3", "2", "2", "2", "1", "1", "1", "1"};
    for (int k = 0; k < 10; ++k)
        row(pickerNames[k], {384, pickerTops[k], 33, 17}, false, pickerCaptions[k], 11, orange);
    row("Frame1", {248, 392, 329, 185}, false, "Счет", 16, orange);
    row("Label2", {24, 16, 82, 43}, true, "Компьютер попаданий:", 16, orange);
    row("Label3", {192, 16, 79, 35}, true, "Игрок попаданий:", 16, orange);
    row("lblC", {128, 16, 16, 36}, true, "0", 32, Qt::black);
    row("lblFC", {128, 48, 16, 36}, true, "0", 32, Qt::black);
    row("lblU", {296, 16, 16, 36}, true, "0", 32, Qt::black);
    row("lblFU", {296, 48, 16, 36}, true, "0", 32, Qt::black);
    row("Line2", {8, 80, 313, 1}, true, "", 0, {});
    row("Line1", {168, 16, 1, 161}, true, "", 0, {});
}

void WindowLayoutTest::controlsStartInPlace()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, shown);
    QFETCH(QString, caption);
    QFETCH(int, fontPixels);
    QFETCH(QColor, text);

    auto *control = m_fixture->w().findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(!control->isHidden(), shown);
    QString actual;
    if (auto *label = qobject_cast<QLabel *>(control))
        actual = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        actual = button->text();
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        actual = group->title();
    QCOMPARE(actual, caption);
    if (fontPixels)
        QCOMPARE(control->font().pixelSize(), fontPixels);
    if (text.isValid())
        QCOMPARE(control->palette().color(QPalette::WindowText), text);
}

// Cell i of the left field sits at (48 + 32 (i mod 10), 48 + 32 (i div 10)); of the
// right field at x 456 + ...; every cell is 33 x 33, Empty, framed, without picture.
void WindowLayoutTest::cellsSitOnTheirFields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("pic(0)") << 0 << QPoint(48, 48);
    QTest::newRow("pic(9)") << 9 << QPoint(336, 48);
    QTest::newRow("pic(10)") << 10 << QPoint(48, 80);
    QTest::newRow("pic(99)") << 99 << QPoint(336, 336);
    QTest::newRow("pic(100)") << 100 << QPoint(456, 48);
    QTest::newRow("pic(199)") << 199 << QPoint(744, 336);
}

void WindowLayoutTest::cellsSitOnTheirFields()
{
    QFETCH(int, index);
    QFETCH(QPoint, topLeft);
    CellView *cell = WindowDriver::cell(m_fixture->w(), index);
    QCOMPARE(cell->geometry(), QRect(topLeft, QSize(33, 33)));
    QVERIFY(cell->hasFrame());
    QVERIFY(cell->picture().isNull());
    QVERIFY(!cell->isHidden());
}

// The score panel starts with its counters at their start; the hit-marker boxes are
// hidden below the fields; the three timers have their periods and are stopped; the
// first picker member is selected.
void WindowLayoutTest::hiddenHelpersAndTimersStartStopped()
{
    frmMain &w = m_fixture->w();
    const Fleet::CountBySize starts = Fleet::countBySize();
    for (int size = 1; size <= Fleet::LargestShip; ++size) {
        QCOMPARE(find<QLabel>(w, QStringLiteral("lblC%1").arg(size))->text(),
                 QString::number(starts[size]));
        QCOMPARE(find<QLabel>(w, QStringLiteral("lblU%1").arg(size))->text(),
                 QString::number(starts[size]));
    }
    for (BoomBox *box : array<BoomBox>(w, "picBoom", 40)) {
        QVERIFY(box->isHidden());
        QCOMPARE(box->size(), QSize(33, 33));
        QVERIFY(box->y() >= 544 && box->y() <= 672);
    }
    QCOMPARE(timer(w, "tmrI")->interval(), 1500);
    QCOMPARE(timer(w, "tmrBoom")->interval(), 100);
    QCOMPARE(timer(w, "tmrMuz")->interval(), 52000);
    QVERIFY(!timer(w, "tmrI")->isActive() && !timer(w, "tmrBoom")->isActive()
            && !timer(w, "tmrMuz")->isActive());
    QVERIFY(find<QRadioButton>(w, QStringLiteral("rb(%1)").arg(0))->isChecked());
    QVERIFY(find<QCheckBox>(w, "chGrid")->isChecked() && find<QCheckBox>(w, "chMusic")->isChecked()
            && find<QCheckBox>(w, "chBack")->isChecked());
    QVERIFY(!find<QCheckBox>(w, "chPoints")->isChecked());
}

// A screen reader can speak every control and cell in Russian.
void WindowLayoutTest::everyPartHasARussianAccessibleName()
{
    const QRegularExpression russian(
        QStringLiteral("^[А-Яа-яЁё0-9 :«»\\-,.?]*(Ctrl)?[А-Яа-яЁё0-9 :«»\\-,.?]*$"));
    int checked = 0;
    for (QWidget *part : m_fixture->w().findChildren<QWidget *>()) {
        if (part->objectName().isEmpty() || part->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(part);
        QVERIFY2(accessible, qPrintable(part->objectName()));
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(part->objectName()));
        QVERIFY2(russian.match(name).hasMatch(), qPrintable(part->objectName() + ": " + name));
        ++checked;
    }
    QVERIFY(checked > 300);
}

// A cell's name gives its coordinate, column first, as the voice says it ("бэ", "вэ" for the
// letters it misreads), and what is known of it; the computer's ships are not given away, a
// sunk ship's cells say so. The captions the window draws with "е" are said with "ё".
void WindowLayoutTest::cellsTellOnlyWhatThePlayerKnows()
{
    frmMain &w = m_fixture->w();
    Board &board = w.game().board();
    board.setState(Field::cellIndex(Side::Player, 7, 2), CellState::Miss);
    board.setState(Field::cellIndex(Side::Player, 1, 1), CellState::Ship);
    board.setState(Field::cellIndex(Side::Comp, 10, 10), CellState::Ship);
    board.setState(Field::cellIndex(Side::Comp, 1, 10), CellState::Hit);
    board.setState(Field::cellIndex(Side::Comp, 2, 10), CellState::Ship);
    board.setState(Field::cellIndex(Side::Comp, 5, 3), CellState::Hit);
    emit w.game().changed();
    QCOMPARE(cell(w, Field::cellIndex(Side::Player, 7, 2))->accessibleName(),
             QStringLiteral("бэ 7 мимо"));
    QCOMPARE(cell(w, 0)->accessibleName(), QStringLiteral("А 1 корабль"));
    QCOMPARE(cell(w, 199)->accessibleName(), QStringLiteral("К 10 не обстреляна"));
    QCOMPARE(cell(w, 109)->accessibleName(), QStringLiteral("К 1 ранен"));
    QCOMPARE(cell(w, 142)->accessibleName(), QStringLiteral("вэ 5 убит"));
    QCOMPARE(cell(w, 109)->accessibleDescription(), QString());
    for (const auto &[name, drawn, said] :
         {std::tuple("rbL(0)", "Легкий", "Лёгкий"), std::tuple("chPoints", "Счет", "Счёт"),
          std::tuple("chBack", "Объемный вид", "Объёмный вид")}) {
        auto *button = w.findChild<QAbstractButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), QString::fromUtf8(drawn));
        QCOMPARE(button->accessibleName(), QString::fromUtf8(said));
    }
}

// A message box is read as sentences, without the signs a voice reads aloud and without a
// first line that repeats the title said just before.
void WindowLayoutTest::messagesAreSaidWithoutSigns()
{
    QCOMPARE(SpokenWords::forEar(QStringLiteral("Морской бой\nВерсия 1.2\n\nИгра против "
                                                "компьютера.\n© 2026 Разработчики игры "
                                                "«Морской бой»"),
                                 QStringLiteral("Морской бой")),
             QStringLiteral("Версия 1.2. Игра против компьютера. 2026 Разработчики игры "
                            "Морской бой"));
    QCOMPARE(SpokenWords::forEar(QStringLiteral("   Вы действительно хотите Выйти ?"),
                                 QStringLiteral("Выход")),
             QStringLiteral("Вы действительно хотите Выйти ?"));
    QCOMPARE(SpokenWords::forEar(QStringLiteral("Уже попадали"), QStringLiteral(" ")),
             QStringLiteral("Уже попадали"));
}

// What a screen reader is told is not drawn: the window looks the same with the news shown
// as without it.
void WindowLayoutTest::theNewsIsNeverSeen()
{
    frmMain &w = m_fixture->w();
    auto *news = w.findChild<Announcement *>(QStringLiteral("announcement"));
    QVERIFY(news);
    news->say(QStringLiteral("Ваш ход"));
    QVERIFY(news->isVisible());
    const QImage told = w.grab().toImage();
    w.findChild<QWidget *>(QStringLiteral("newsBar"))->hide();
    QCOMPARE(w.grab().toImage(), told);
}

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
