#pragma once

#include "battle/game.h"

#include <QObject>
#include <QStringList>

class HitMarkers;
class Prompter;
class QTimer;
class QWidget;
class ResultsKeeper;
class SoundService;

// What follows from the game's events on screen and in the speakers, decided in one
// place: the hit sound, the explosion, the message boxes, the saved row and the three
// timers. Each timer and each sound is started and stopped here only.
//   tmrI     1500 ms: runs exactly while the computer is to move; its tick is a move.
//   tmrBoom   100 ms: started by every hit; its ninth tick (intBoomStep) stops the hit sound.
//   tmrMuz  52000 ms: restarts the tune while the music is on.
class Effects : public QObject
{
    Q_OBJECT
public:
    Effects(QWidget *window, const Game &game, SoundService &sound, Prompter &prompter,
            ResultsKeeper &results, HitMarkers &markers);

    // The hit sound and the explosion of a hit; "Уже попадали" for a refused shot.
    void showShot(const Shot &shot);
    void timeComputersMoves(Game::Turn turn);
    // The row is saved first, then the end message is shown, then why the row could not be
    // saved, if it could not and still is not.
    void finishGame(Side winner);

    // Start-up: the tune from seasound.mid, repeated by tmrMuz.
    void startMusic();
    void PlayMuz(bool on);
    void stopHitSound();
    void tmrBoom_Timer();
    void tmrMuz_Timer();
    // Appends the finished game's row: the winner, both hit counts and the level. Returns
    // what the player must be told when it could not be stored (it is kept and retried).
    QString SaveDB(Side winner);

signals:
    void computerToMove(); // a tick of tmrI

private:
    QWidget *m_window;
    const Game &m_game;
    SoundService &m_sound;
    Prompter &m_prompter;
    ResultsKeeper &m_results;
    HitMarkers &m_markers;
    QTimer *m_computerMoves = nullptr; // tmrI
    QTimer *m_hitSoundCutOff = nullptr; // tmrBoom
    QTimer *m_tuneRepeat = nullptr; // tmrMuz
    int m_boomStep = 0; // intBoomStep
    bool m_endMessageOpen = false;
    QStringList m_toldAfterEndMessage;
};
