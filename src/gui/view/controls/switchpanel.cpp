#include "view/controls/switchpanel.h"

#include "battle/game.h"
#include "view/controls/scorepanel.h"
#include "view/controls/textbutton.h"
#include "view/fields/storedpicture.h"
#include "view/look.h"
#include "view/spoken/spokenwords.h"
#include "view/windowlayout.h"

#include <QCheckBox>

namespace {
StoredPicture *addArrow(QWidget *window, const char *name, const char *resource,
                        const char *accessibleName)
{
    auto *arrow
        = new StoredPicture(QString::fromLatin1(name), QString::fromLatin1(resource), window);
    WindowLayout::place(arrow);
    arrow->setAccessibleName(SwitchPanel::tr(accessibleName));
    arrow->hide();
    return arrow;
}

QCheckBox *addSwitch(QWidget *window, const char *name, const char *caption, bool checked)
{
    auto *box = new QCheckBox(SwitchPanel::tr(caption), window);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(SpokenWords::caption(box->text()));
    WindowLayout::place(box);
    box->setChecked(checked);
    Look::paintText(box, Look::Orange);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}
} // namespace

SwitchPanel::SwitchPanel(QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("switches"));
    auto *grid = addSwitch(window, "chGrid", QT_TR_NOOP("Разметка сетки"), true);
    auto *music = addSwitch(window, "chMusic", QT_TR_NOOP("Музыка"), true);
    auto *back = addSwitch(window, "chBack", QT_TR_NOOP("Объемный вид"), true);
    auto *points = addSwitch(window, "chPoints", QT_TR_NOOP("Счет"), false);
    connect(grid, &QCheckBox::clicked, this, &SwitchPanel::gridClicked);
    connect(music, &QCheckBox::clicked, this, &SwitchPanel::musicClicked);
    connect(back, &QCheckBox::clicked, this, &SwitchPanel::backClicked);

    auto *stat = new TextButton(QStringLiteral("lblStat"), tr("Статистика"), window);
    m_newGame = new TextButton(QStringLiteral("cmdNewGame"), tr("Новая Игра"), window);
    for (TextButton *button : {stat, m_newGame}) {
        WindowLayout::place(button);
        Look::paintText(button, Look::Orange);
    }
    m_newGame->hide();
    connect(stat, &TextButton::clicked, this, &SwitchPanel::statClicked);
    connect(m_newGame, &TextButton::clicked, this, &SwitchPanel::newGameClicked);

    // The score panel lies under the placement controls, built after it, so the game
    // can go on whatever the "Счет" switch shows.
    m_score = new ScorePanel(window);
    WindowLayout::place(m_score);
    Look::paintText(m_score, Look::Orange);
    m_score->hide();
    connect(points, &QCheckBox::clicked, m_score, &QWidget::setVisible);

    m_computersTurn = addArrow(window, "LeftL", ":/leftarrow.svg", QT_TR_NOOP("Ход компьютера"));
    m_playersTurn = addArrow(window, "RightL", ":/rightarrow.svg", QT_TR_NOOP("Ваш ход"));
}

void SwitchPanel::showGame(const Game &game)
{
    m_newGame->setVisible(game.phase() == Game::Phase::Battle);
    m_playersTurn->setVisible(game.turn() == Game::Turn::Player);
    m_computersTurn->setVisible(game.turn() == Game::Turn::Computer);
    m_score->showScore(game.score());
}
