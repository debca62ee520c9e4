// Linked with the game's own main.cpp into a test copy of the game whose player wins the
// first battle at once, for the tests of the ways the program ends after a game. Once the
// main window is shown and the file named by SEABATTLE_LAST_SHOT_AFTER exists, the fleet is
// laid out, the easy level chosen and every ship of the computer fired at through the
// window's own handlers; the game's own end follows, with its real message boxes.
#include "view/frmmain.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace {

void playToTheEnd(frmMain &window)
{
    window.lblSetAuto_Click();
    window.lblAgree_Click();
    window.rbL_Click(0);
    QList<int> ships;
    for (int index = 100; index < 200; ++index) {
        if (window.game().board().state(index) == CellState::Ship)
            ships << index;
    }
    for (int index : std::as_const(ships))
        window.pic_MouseDown(index, Qt::LeftButton);
}

class LastShot : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_window
            && watched->objectName() == QLatin1String("frmMain")) {
            m_window = static_cast<frmMain *>(watched);
            auto *poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, [this, poll] {
                if (!QFileInfo::exists(qEnvironmentVariable("SEABATTLE_LAST_SHOT_AFTER")))
                    return;
                poll->stop();
                playToTheEnd(*m_window);
            });
            poll->start(100);
        }
        return false;
    }

private:
    frmMain *m_window = nullptr;
};

void installLastShot()
{
    qApp->installEventFilter(new LastShot(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installLastShot)
