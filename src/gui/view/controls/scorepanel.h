#pragma once

#include "model/score.h"

#include <QGroupBox>

#include <array>

class QLabel;

// The score panel `Frame1`: the computer's half on the left, the player's on the
// right. Its counter labels mirror the game's Score.
class ScorePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit ScorePanel(QWidget *parent);

    void showScore(const Score &score);

private:
    QLabel *m_compHits = nullptr; // the computer's hits
    QLabel *m_compMisses = nullptr; // the computer's misses
    QLabel *m_userHits = nullptr; // the player's hits
    QLabel *m_userMisses = nullptr; // the player's misses
    std::array<QLabel *, Fleet::LargestShip + 1> m_playerAfloat {}; // [size]: the player's afloat
    std::array<QLabel *, Fleet::LargestShip + 1> m_compAfloat {}; // [size]: the computer's afloat

    QLabel *addLabel(const QString &name, const QString &caption, const QRect &geometry,
                     const QFont &font, const QColor &colour);
    static void setCount(QLabel *label, int value);
};
