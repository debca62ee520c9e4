#pragma once

#include "battle/game.h"
#include "view/fields/aimcursor.h"

#include <QWidget>

#include <memory>

class Effects;
class FieldView;
class HitMarkers;
class PlacementControls;
class Prompter;
class RandomSource;
class ResultsKeeper;
class ResultsStore;
class SoundService;
class SwitchPanel;

// The game's window. It builds its parts, forwards their events to the Game and lets
// the parts mirror the game: FieldView (the fields and their cells), HitMarkers (the
// explosions), PlacementControls, SwitchPanel (switches, score, turn arrows), Effects
// (sounds, timers, boxes, the saved row) and WindowKeys (the keys, what is spoken).
// The fixed names (frmMain, pic, tmrI, SaveDB...) and where each lives: docs/glossary.md.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    frmMain(SoundService &sound, RandomSource &random, Prompter &prompter,
            QWidget *parent = nullptr);
    ~frmMain() override;

    enum class Notice { Show, AlreadyShown };
    void Form_Load(Notice notice = Notice::Show);
    // The authorship notice with its one OK button. The program shows it before it
    // builds the window, so the player sees something at once.
    static void showAuthorshipNotice(Prompter &prompter, QWidget *parent);

    Game &game() { return m_game; }

    void pic_MouseDown(int index, Qt::MouseButton button)
    {
        m_game.pressCell(index, button == Qt::LeftButton);
    }
    void pic_MouseMove(int index);
    void Form_MouseMove();
    void Form_KeyDown(int key);
    void Form_KeyUp(int key) { m_game.setCtrl(m_game.isCtrlHeld() && key != Qt::Key_Control); }
    void lblSetY_Click() { m_game.placeByHand(); }
    void lblSetAuto_Click() { m_game.layOutAutomatically(); }
    void lblAgree_Click() { m_game.acceptLayout(); }
    void lblStat_Click();
    void cmdNewGame_Click();
    void rbL_Click(int index) { m_game.chooseLevel(index); }
    void rb_Click(int index) { m_game.selectShip(index); }
    void chGrid_Click(bool on);
    void chBack_Click(bool on);
    void chMusic_Click(bool on);
    void tmrI_Timer() { m_game.CompAtack(); }

protected:
    void mouseMoveEvent(QMouseEvent *) override { Form_MouseMove(); }
    // A close request of the window system (Alt+F4, a taskbar's "Close") asks what Esc asks.
    void closeEvent(QCloseEvent *event) override;

private:
    void SetArray();
    void mirror();
    void askToQuit();
    void rebuildLostWindow();

    Prompter &m_prompter;
    Game m_game;
    std::unique_ptr<ResultsStore> m_store;
    // Declared after the store it writes to, so it is destroyed (and flushes) first; a
    // child of the window all the same, where a test finds it.
    std::unique_ptr<ResultsKeeper> m_keeper;
    FieldView *m_fields = nullptr;
    SwitchPanel *m_switches = nullptr;
    PlacementControls *m_placement = nullptr;
    HitMarkers *m_markers = nullptr;
    Effects *m_effects = nullptr;
    AimCursor m_aim;
    bool m_askingToQuit = false;
};
