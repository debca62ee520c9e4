#pragma once

#include <QObject>

class Game;
class QWidget;
class ScorePanel;
class StoredPicture;
class TextButton;

// The bottom row and what the battle shows of itself: the switches chGrid, chMusic,
// chBack and chPoints, the text buttons lblStat and cmdNewGame, the score panel Frame1
// and the turn arrows LeftL and RightL.
class SwitchPanel : public QObject
{
    Q_OBJECT
public:
    explicit SwitchPanel(QWidget *window);

    // Counters, turn arrows and "Новая Игра" as the game stands.
    void showGame(const Game &game);

signals:
    // Each with the switch's new state.
    void gridClicked(bool on);
    void musicClicked(bool on);
    void backClicked(bool on);
    void statClicked();
    void newGameClicked();

private:
    TextButton *m_newGame = nullptr;
    ScorePanel *m_score = nullptr;
    StoredPicture *m_computersTurn = nullptr;
    StoredPicture *m_playersTurn = nullptr;
};
