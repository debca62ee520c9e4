#include "windowfixture.h"

#include "view/inwindowbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>

// A box drawn inside the window (where the compositor places windows itself) opens centred
// over the game with its title, holds the keys until it is answered - the window's own keys,
// Esc among them, ask nothing meanwhile - takes no press meant for the game, and leaves the
// window as it was.
class InWindowBoxTest : public QObject
{
    Q_OBJECT
private slots:
    void keysAnswerTheBoxAlone_data();
    void keysAnswerTheBoxAlone();
};

void InWindowBoxTest::keysAnswerTheBoxAlone_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("answer");
    QTest::newRow("Return: the default button")
        << QList<int> {Qt::Key_Return} << int(QMessageBox::Yes);
    QTest::newRow("Esc: No") << QList<int> {Qt::Key_Escape} << int(QMessageBox::No);
    QTest::newRow("Tab, Space: the other button")
        << QList<int> {Qt::Key_Tab, Qt::Key_Space} << int(QMessageBox::No);
    QTest::newRow("Tab twice stays in the box")
        << QList<int> {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return} << int(QMessageBox::Yes);
}

void InWindowBoxTest::keysAnswerTheBoxAlone()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, answer);
    WindowFixture fixture;
    frmMain &window = fixture.w();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QImage before = window.grab().toImage();
    QWidget *focusBefore = QApplication::focusWidget();
    const qsizetype asked = fixture.prompter.shown.size(); // the notice of the start

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Выход"),
                    QStringLiteral("   Вы действительно хотите Выйти ?"),
                    QMessageBox::Yes | QMessageBox::No, &window);
    box.setDefaultButton(QMessageBox::Yes);
    // The window's keys see no change of the focus, and no control of the game holds it
    // after the box; nor does anything of the box stay behind.
    QStringList strayFocus;
    QObject watch;
    connect(qApp, &QApplication::focusChanged, &watch, [&](QWidget *, QWidget *now) {
        strayFocus << (now ? now->objectName() : QStringLiteral("none"));
    });
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
        // A failed check here still closes the box, and the test goes on to fail.
        auto close = qScopeGuard([&] { box.reject(); });
        auto *frame = window.findChild<QFrame *>(QStringLiteral("box"));
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->geometry().center(), window.rect().center());
        QVERIFY(window.rect().contains(frame->geometry()));
        QVERIFY(frame->findChild<QLabel *>()->text() == QStringLiteral("Выход"));
        // A press on the computer's field lands on the veil.
        QWidget *under = window.childAt(600, 200);
        QVERIFY(under && under->objectName() == QStringLiteral("veil"));
        QTest::mouseClick(under, Qt::LeftButton, {}, QPoint(600, 200));
        for (int code : keys) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus && box.isAncestorOf(focus));
            QTest::keyClick(focus, Qt::Key(code));
        }
        checked = true;
        close.dismiss();
    });
    QCOMPARE(InWindowBox(box, window).exec(), answer);
    QVERIFY(checked);
    QCOMPARE(fixture.prompter.shown.size(), asked); // the window asked nothing of its own
    QCOMPARE(QApplication::focusWidget(), focusBefore);
    QVERIFY2(strayFocus.isEmpty(), qPrintable(strayFocus.join(QLatin1Char(' '))));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("veil")));
    QCOMPARE(window.grab().toImage(), before);
}

QTEST_MAIN(InWindowBoxTest)
#include "tst_inwindowbox.moc"
