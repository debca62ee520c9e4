#include "view/spoken/placementnews.h"

#include "view/spoken/announcement.h"
#include "view/spoken/cellnames.h"
#include "view/spoken/spokenphrases.h"
#include "view/spoken/spokenwords.h"

PlacementNews::PlacementNews(Announcement &announcement, const Game &game, QObject *parent)
    : QObject(parent), m_announcement(announcement), m_game(game)
{
    setObjectName(QStringLiteral("placementNews"));
    connect(&game, &Game::changed, this, &PlacementNews::noteChange);
}

void PlacementNews::noteChange()
{
    // Told as the game changes, before the focus moves on to the next phase's controls.
    if (m_pressed >= 0)
        tellPlaced(std::exchange(m_pressed, -1));
    const Game::Phase was = std::exchange(m_phase, m_game.phase());
    // The first layout's news is the button's new caption; later ones change no caption.
    if (was == Game::Phase::AutoLayoutShown && m_phase == was)
        m_announcement.say(SpokenPhrases::laidOutAgain());
}

QList<int> PlacementNews::wouldTake(int index, bool *offField) const
{
    const bool horizontal = m_game.isCtrlHeld();
    const int row = Field::rowOf(index), column = Field::columnOf(index);
    QList<int> cells;
    *offField = false;
    for (int k = 0; k < m_game.picker().selectedSize(); ++k) {
        const int r = horizontal ? row : row + k, c = horizontal ? column + k : column;
        if (!Field::contains(r, c))
            *offField = true;
        else
            cells << Field::cellIndex(Side::Player, r, c);
    }
    return cells;
}

bool PlacementNews::touchesShip(const QList<int> &cells) const
{
    for (int cell : cells) {
        const int row = Field::rowOf(cell), column = Field::columnOf(cell);
        for (int r = row - 1; r <= row + 1; ++r) {
            for (int c = column - 1; c <= column + 1; ++c) {
                if (Field::contains(r, c) && m_game.playerField().state(r, c) == CellState::Ship)
                    return true;
            }
        }
    }
    return false;
}

void PlacementNews::tellPreview(int index)
{
    if (m_game.phase() != Game::Phase::PlacingByHand)
        return;
    tellShip(true);
    bool offField = false;
    const QList<int> cells = wouldTake(index, &offField);
    if (offField)
        m_announcement.say(SpokenWords::refusal(SpokenWords::Refusal::OffField));
    else if (touchesShip(cells))
        m_announcement.say(SpokenWords::refusal(SpokenWords::Refusal::TouchesShip));
    else
        m_announcement.say(SpokenPhrases::preview(cells.first(), cells.last()));
}

void PlacementNews::tellPlacing(int index)
{
    // Placed, it was told with the change; refused, nothing changed.
    if (std::exchange(m_pressed, -1) != index)
        return;
    bool offField = false;
    wouldTake(index, &offField);
    m_announcement.say(SpokenWords::refusal(offField ? SpokenWords::Refusal::OffField
                                                     : SpokenWords::Refusal::TouchesShip));
}

void PlacementNews::tellPlaced(int index)
{
    const QList<int> ship = CellNames::shipAt(m_game.board(), index);
    if (ship.isEmpty())
        return;
    QString news = SpokenPhrases::placed(int(ship.size()), ship.first(), ship.last());
    news += QStringLiteral(". ");
    if (m_game.phase() == Game::Phase::PlacingByHand)
        news += SpokenPhrases::chosenShip(m_game.picker().selectedSize(), m_game.isCtrlHeld());
    else
        news += SpokenPhrases::fleetStands();
    m_announcement.say(news);
}

void PlacementNews::tellShip(bool onlyTurned)
{
    if (m_game.phase() != Game::Phase::PlacingByHand
        || (onlyTurned && m_game.isCtrlHeld() == m_toldHorizontal))
        return;
    m_toldHorizontal = m_game.isCtrlHeld();
    m_announcement.say(SpokenPhrases::chosenShip(m_game.picker().selectedSize(), m_toldHorizontal));
}
