#pragma once

#include "battle/game.h"
#include "view/controls/textbutton.h"

#include <QPushButton>
#include <QRadioButton>

#include <array>

// The controls of the placement phase: the text buttons lblSetAuto, lblSetY and
// lblAgree, the hint lblHelp, the ship picker rb and the level buttons rbL. Which of
// them show follows the game's phase.
class PlacementControls : public QObject
{
    Q_OBJECT
public:
    explicit PlacementControls(QWidget *window);

    void showPhase(const Game &game);
    // The pointer left the text buttons for the bare window.
    void clearHoverFrames();

signals:
    void setAutoClicked();
    void setByHandClicked();
    void agreeClicked();
    void shipClicked(int member);
    void levelClicked(int k);

private:
    TextButton *m_setAuto = nullptr;
    TextButton *m_setByHand = nullptr;
    TextButton *m_agree = nullptr;
    QLabel *m_help = nullptr;
    std::array<QRadioButton *, 10> m_picker {};
    std::array<QPushButton *, 3> m_levels {};
};
