#pragma once

#include "battle/game.h"
#include "battle/gameeffects.h"
#include "model/board.h"

#include <QByteArray>
#include <QWidget>

#include <array>
#include <memory>

class BoomBox;
class CellView;
class PictureHolder;
class Prompter;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class RandomSource;
class ResultsKeeper;
class ResultsStore;
class ScorePanel;
class SoundService;
class StoredPicture;
class TextButton;

// The game's window. It builds the controls, forwards their events to the Game and
// mirrors the game's state; the rules live in the core.
//
// Glossary of the fixed names: pic the 200 cells (0..99 the player's field arrPlayer,
// 100..199 the computer's arrComp); Label1 the 40 coordinate labels; imgBack1/2 the
// field frames; LeftL/RightL the turn arrows (the computer's / the player's turn);
// Picture1 the staging holder of ship pieces; rb the ship picker; rbL the level
// buttons; Frame1 the score panel; picBoom the 40 hit-marker boxes; tmrI the
// computer's moves, tmrBoom the cut-off of the hit sound, tmrMuz the tune's repeat;
// intBoomNext the next free hit-marker box, intBoomStep the ticks of tmrBoom.
class frmMain : public QWidget, private GameEffects, private BoardObserver
{
    Q_OBJECT
public:
    frmMain(SoundService &sound, RandomSource &random, Prompter &prompter,
            QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: the authorship notice (unless already shown), fields, results store,
    // music, boxes, the computer's fleet.
    enum class Notice { Show, AlreadyShown };
    void Form_Load(Notice notice = Notice::Show);
    // The authorship notice with its one OK button. The program shows it before it
    // builds the window, so the player sees something at once.
    static void showAuthorshipNotice(Prompter &prompter, QWidget *parent);

    Game &game() { return m_game; }
    ResultsStore &resultsStore() { return *m_store; }
    ResultsKeeper &resultsKeeper() { return *m_keeper; }

    std::array<CellView *, Board::CellCount> pic {};
    std::array<QLabel *, 40> Label1 {};
    StoredPicture *imgBack1 = nullptr;
    StoredPicture *imgBack2 = nullptr;
    StoredPicture *LeftL = nullptr;
    StoredPicture *RightL = nullptr;
    PictureHolder *Picture1 = nullptr;
    QCheckBox *chGrid = nullptr;
    QCheckBox *chMusic = nullptr;
    QCheckBox *chBack = nullptr;
    QCheckBox *chPoints = nullptr;
    TextButton *lblStat = nullptr;
    TextButton *cmdNewGame = nullptr;
    TextButton *lblSetAuto = nullptr;
    TextButton *lblSetY = nullptr;
    TextButton *lblAgree = nullptr;
    QLabel *lblHelp = nullptr;
    std::array<QPushButton *, 3> rbL {};
    std::array<QRadioButton *, 10> rb {};
    ScorePanel *Frame1 = nullptr;
    std::array<BoomBox *, 40> picBoom {};
    QTimer *tmrI = nullptr;
    QTimer *tmrBoom = nullptr;
    QTimer *tmrMuz = nullptr;
    int intBoomNext = 0;
    int intBoomStep = 0;

    // Handlers, named after the controls and events they serve.
    void pic_MouseDown(int index, Qt::MouseButton button);
    void pic_MouseMove(int index);
    void Form_MouseMove();
    void Form_KeyDown(int key);
    void Form_KeyUp(int key);
    void lblSetY_Click();
    void lblSetAuto_Click();
    void lblAgree_Click();
    void lblStat_Click();
    void cmdNewGame_Click();
    void rbL_Click(int index);
    void rb_Click(int index);
    void chGrid_Click();
    void chBack_Click();
    void chMusic_Click();
    void chPoints_Click();
    void tmrI_Timer();
    void tmrBoom_Timer();
    void tmrMuz_Timer();

    void SetArray();
    void PlayMuz();
    void DrawBoom(int cellIndex);
    void SaveDB(const QString &strWin);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFields();
    void buildBottomRow();
    void buildPlacementControls();
    void buildHiddenControls();
    void showAimCursor();

    // GameEffects
    void mirror() override;
    void startHitSound() override;
    void stopHitSound() override;
    void drawBoom(int cellIndex) override { DrawBoom(cellIndex); }
    void startBoomTimer() override;
    void setComputerTimer(bool on) override;
    void showMessage(const QString &text) override;
    void saveResult(const QString &winner) override { SaveDB(winner); }
    void clearHitMarkers() override;
    void resetHitMarkerCount() override { intBoomNext = 0; }

    // BoardObserver
    void cellChanged(int index, Aspect aspect) override;

    SoundService &m_sound;
    RandomSource &m_random;
    Prompter &m_prompter;
    Game m_game;
    std::unique_ptr<ResultsStore> m_store;
    // Declared after the store it writes to, so it is destroyed (and flushes) first.
    std::unique_ptr<ResultsKeeper> m_keeper;
    QString m_resultsNotice; // a failed save, told after the game's own message
    QByteArray m_cursorFile; // the bytes of the aim cursor now set, to skip rebuilding it
};
