// The event handlers of frmMain and what it does for the game (GameEffects).
#include "view/frmmain.h"

#include "model/installfolder.h"
#include "model/mediafile.h"
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
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

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
    m_sound.setTuneFile(MediaFile::path(QStringLiteral("seasound.mid")));
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
    const std::optional<MediaFiles::Cursor> aim = MediaFiles::readCursor(QStringLiteral("Sn.cur"));
    if (!aim)
        return;
    // The same picture as the cursor already set needs no new cursor.
    if (aim->picture.cacheKey() == m_cursorPicture && cursor().shape() == Qt::BitmapCursor)
        return;
    setCursor(QCursor(aim->picture, aim->hotSpot.x(), aim->hotSpot.y()));
    m_cursorPicture = aim->picture.cacheKey();
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
        askToQuit();
    }
}

void frmMain::askToQuit()
{
    if (m_prompter.ask(this, QStringLiteral("Выход"),
                       QStringLiteral("   Вы действительно хотите Выйти ?"))) {
        m_sound.stopHitSound();
        hide();
        QCoreApplication::exit(0);
    }
}

void frmMain::rebuildLostWindow()
{
    // Another program destroyed the native window: let Qt drop it, show a new one in
    // its place, and treat the loss as a request to close.
    const QPoint position = pos();
    destroy(true, false);
    move(position);
    show();
    askToQuit();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The window stays until the player says Yes; then the program ends as after Esc.
    event->ignore();
    askToQuit();
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
