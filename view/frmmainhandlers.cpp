// The event handlers of frmMain and what it does for the game (GameEffects).
#include "view/frmmain.h"

#include "model/installfolder.h"
#include "model/randomsource.h"
#include "results/frmstat.h"
#include "results/resultsstore.h"
#include "sound/soundservice.h"
#include "view/boombox.h"
#include "view/cellview.h"
#include "view/mediafiles.h"
#include "view/modship.h"
#include "view/palette.h"
#include "view/pictureholder.h"
#include "view/prompter.h"
#include "view/scorepanel.h"
#include "view/storedpicture.h"
#include "view/textbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QtEndian>

#include <cmath>

void frmMain::showAuthorshipNotice(Prompter &prompter, QWidget *parent)
{
    prompter.inform(parent,
                    QStringLiteral("Морской бой\nВерсия %1\n\nИгра для одного игрока против "
                                   "компьютера.\n© 2026 Разработчики игры «Морской бой»")
                        .arg(QCoreApplication::applicationVersion()),
                    QStringLiteral("Морской бой"));
}

void frmMain::Form_Load(Notice notice)
{
    if (notice == Notice::Show)
        showAuthorshipNotice(m_prompter, this);
    SetArray();
    // Results moved to the data folder: the player hears it once, over the window
    // shown after the authorship notice.
    if (const QString notice = m_store->takeNotice(); !notice.isEmpty())
        QTimer::singleShot(0, this, [this, notice] { m_prompter.inform(this, notice); });
    m_sound.setTuneFile(InstallFolder::file(QStringLiteral("seasound.mid")));
    m_sound.openTune();
    tmrMuz->start();
    m_sound.playTune();
    for (BoomBox *box : picBoom)
        box->setBackColor(Look::Sea);
    m_game.start();
    mirror();
}

void frmMain::SetArray()
{
    // The cells follow the fields from here on.
    m_game.board().setObserver(this);
    // A store that cannot be opened only keeps results from being saved.
    m_store->open();
}

void frmMain::pic_MouseDown(int index, Qt::MouseButton button)
{
    m_game.pressCell(index, button == Qt::LeftButton);
}

void frmMain::pic_MouseMove(int index)
{
    if (index > 99 && m_game.bolBattle())
        showAimCursor();
    m_game.pointerOverCell(index);
}

void frmMain::showAimCursor()
{
    const QString fileName = QStringLiteral("Sn.cur");
    QFile file(InstallFolder::file(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        MediaFiles::warnOnce(fileName, file.errorString());
        return;
    }
    const QByteArray bytes = file.read(1 << 20);
    if (bytes == m_cursorFile && cursor().shape() == Qt::BitmapCursor)
        return;
    QPixmap picture;
    if (!picture.loadFromData(bytes, "CUR") && !picture.loadFromData(bytes)) {
        MediaFiles::warnOnce(fileName, QStringLiteral("it is not a cursor"));
        return;
    }
    // Qt's loader drops the hotspot; a cursor file keeps it in its directory entry.
    int hotX = picture.width() / 2;
    int hotY = picture.height() / 2;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (bytes.size() >= 22 && qFromLittleEndian<quint16>(data + 2) == 2) {
        hotX = qBound(0, int(qFromLittleEndian<quint16>(data + 10)), picture.width() - 1);
        hotY = qBound(0, int(qFromLittleEndian<quint16>(data + 12)), picture.height() - 1);
    }
    setCursor(QCursor(picture, hotX, hotY));
    m_cursorFile = bytes;
}

void frmMain::mouseMoveEvent(QMouseEvent *)
{
    Form_MouseMove();
}

void frmMain::Form_MouseMove()
{
    unsetCursor();
    for (TextButton *button : {lblSetY, lblSetAuto, lblAgree}) {
        if (button->hasHoverFrame())
            button->setHoverFrame(false);
    }
    m_game.pointerOverBareWindow();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Keys reach the window whichever of its controls holds the focus.
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!key || !watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int code = keyEvent->key();
    if (code != Qt::Key_Control && code != Qt::Key_Escape)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        if (!keyEvent->isAutoRepeat() || code == Qt::Key_Control)
            Form_KeyDown(code);
    } else if (!keyEvent->isAutoRepeat()) {
        Form_KeyUp(code);
    }
    return true;
}

void frmMain::Form_KeyDown(int key)
{
    if (key == Qt::Key_Control) {
        m_game.setCtrl(true);
    } else if (key == Qt::Key_Escape) {
        if (m_prompter.ask(this, QStringLiteral("Выход"),
                           QStringLiteral("   Вы действительно хотите Выйти ?"))) {
            m_sound.stopHitSound();
            hide();
            QCoreApplication::exit(0);
        }
    }
}

void frmMain::Form_KeyUp(int key)
{
    if (key == Qt::Key_Control)
        m_game.setCtrl(false);
}

void frmMain::lblSetY_Click()
{
    m_game.placeByHand();
}

void frmMain::lblSetAuto_Click()
{
    m_game.layOutAutomatically();
}

void frmMain::lblAgree_Click()
{
    m_game.acceptLayout();
}

void frmMain::lblStat_Click()
{
    frmStat stat(this, *m_store);
    stat.exec();
}

void frmMain::cmdNewGame_Click()
{
    if (m_prompter.ask(this, QStringLiteral("Новая Игра"),
                       QString(15, QLatin1Char(' ')) + QStringLiteral("Начать заново ?")))
        m_game.newGame();
}

void frmMain::rbL_Click(int index)
{
    m_game.chooseLevel(index);
}

void frmMain::rb_Click(int index)
{
    m_game.selectShip(index);
}

void frmMain::chGrid_Click()
{
    for (QLabel *label : Label1)
        label->setVisible(chGrid->isChecked());
}

void frmMain::chBack_Click()
{
    imgBack1->setVisible(chBack->isChecked());
    imgBack2->setVisible(chBack->isChecked());
}

void frmMain::chMusic_Click()
{
    PlayMuz();
}

void frmMain::PlayMuz()
{
    if (chMusic->isChecked()) {
        m_sound.playTune();
        tmrMuz->start();
    } else {
        m_sound.stopTune();
        tmrMuz->stop();
    }
}

void frmMain::chPoints_Click()
{
    Frame1->setVisible(chPoints->isChecked());
}

void frmMain::tmrI_Timer()
{
    m_game.computerTimerTick();
}

void frmMain::tmrBoom_Timer()
{
    ++intBoomStep;
    if (intBoomStep >= 9) {
        m_sound.stopHitSound();
        tmrBoom->stop();
    }
}

void frmMain::tmrMuz_Timer()
{
    m_sound.closeTune();
    m_sound.openTune();
    m_sound.playTune();
}
