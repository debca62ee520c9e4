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

    QLabel *lblC = nullptr; // the computer's hits
    QLabel *lblFC = nullptr; // the computer's misses
    QLabel *lblU = nullptr; // the player's hits
    QLabel *lblFU = nullptr; // the player's misses
    std::array<QLabel *, 5> lblC1to4 {}; // [size]: the player's ships afloat
    std::array<QLabel *, 5> lblU1to4 {}; // [size]: the computer's ships afloat

private:
    QLabel *addLabel(const QString &name, const QString &caption, const QRect &geometry,
                     const QFont &font, const QColor &colour);
    static void setCount(QLabel *label, int value);
};
