#include "view/effects/effects.h"

#include "files/mediabytes.h"
#include "sound/soundservice.h"
#include "store/resultskeeper.h"
#include "view/effects/hitmarkers.h"
#include "view/effects/resultswords.h"
#include "view/effects/testpace.h"
#include "view/prompter.h"

#include <QTimer>
#include <QWidget>

namespace {
QTimer *makeTimer(const char *name, int interval, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(interval);
    return timer;
}
} // namespace

Effects::Effects(QWidget *window, const Game &game, SoundService &sound, Prompter &prompter,
                 ResultsKeeper &results, HitMarkers &markers)
    : QObject(window)
    , m_window(window)
    , m_game(game)
    , m_sound(sound)
    , m_prompter(prompter)
    , m_results(results)
    , m_markers(markers)
    , m_computerMoves(makeTimer("tmrI", TestPace::interval(1500), this))
    , m_hitSoundCutOff(makeTimer("tmrBoom", TestPace::interval(100), this))
    , m_tuneRepeat(makeTimer("tmrMuz", 52000, this))
{
    setObjectName(QStringLiteral("effects"));
    connect(m_computerMoves, &QTimer::timeout, this, &Effects::computerToMove);
    connect(m_hitSoundCutOff, &QTimer::timeout, this, &Effects::tmrBoom_Timer);
    connect(m_tuneRepeat, &QTimer::timeout, this, &Effects::tmrMuz_Timer);
    connect(&m_results, &ResultsKeeper::stillWaiting, this,
            [this](const ResultsTrouble &trouble, const QString &pendingFile) {
                const QString message = ResultsWords::stillWaiting(trouble, pendingFile);
                // Told after the end message when that is open.
                if (m_endMessageOpen)
                    m_toldAfterEndMessage << message;
                else
                    m_prompter.inform(m_window, message);
            });
}

void Effects::showShot(const Shot &shot)
{
    // Every shot first silences the hit sound of an earlier hit.
    stopHitSound();
    if (shot.result == Shot::Result::Refused) {
        m_prompter.inform(m_window, tr("Уже попадали"));
        return;
    }
    if (!shot.isHit())
        return;
    m_sound.startHitSound(MediaBytes::path(QStringLiteral("Boom.wav")));
    m_markers.DrawBoom(shot.cell);
    m_boomStep = 0;
    m_hitSoundCutOff->start();
}

void Effects::timeComputersMoves(Game::Turn turn)
{
    if (turn == Game::Turn::Computer)
        m_computerMoves->start();
    else
        m_computerMoves->stop();
}

void Effects::finishGame(Side winner)
{
    // The timer is off before the box opens: no move can start while it is open.
    stopHitSound();
    m_computerMoves->stop();
    const bool playerWon = winner == Side::Player;
    // Whatever ends the program while the box is open (a signal, a logout, a lost
    // display) finds the row on disk already: stored, or synced to the pending file.
    const QString notSaved = SaveDB(winner);
    m_endMessageOpen = true;
    m_prompter.inform(m_window, playerWon ? tr("Вы выиграли") : tr("Вы проиграли"));
    m_endMessageOpen = false;
    // The row may have been stored while the message was open: then there is nothing to tell.
    QStringList told = std::exchange(m_toldAfterEndMessage, {});
    if (!notSaved.isEmpty())
        told.prepend(notSaved);
    for (const QString &message : std::as_const(told)) {
        if (m_results.waitingCount() > 0)
            m_prompter.inform(m_window, message);
    }
}

QString Effects::SaveDB(Side winner)
{
    const Score &score = m_game.score();
    return ResultsWords::outcome(m_results.save(
        {winner == Side::Player ? ResultRow::Winner::Player : ResultRow::Winner::Computer,
         score.userHits, score.compHits, Game::levelName(m_game.level())}));
}

void Effects::startMusic()
{
    m_sound.setTuneFile(MediaBytes::path(QStringLiteral("seasound.mid")));
    m_sound.openTune();
    m_tuneRepeat->start();
    m_sound.playTune();
}

void Effects::PlayMuz(bool on)
{
    if (on) {
        m_sound.playTune();
        m_tuneRepeat->start();
    } else {
        m_sound.stopTune();
        m_tuneRepeat->stop();
    }
}

void Effects::stopHitSound()
{
    m_sound.stopHitSound();
}

void Effects::tmrBoom_Timer()
{
    ++m_boomStep;
    if (m_boomStep >= 9) {
        stopHitSound();
        m_hitSoundCutOff->stop();
    }
}

void Effects::tmrMuz_Timer()
{
    m_sound.closeTune();
    m_sound.openTune();
    m_sound.playTune();
}
