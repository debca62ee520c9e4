#pragma once

#include "model/board.h"

#include <QObject>

#include <array>

class CellView;
class QLabel;
class QWidget;
class StoredPicture;

// The two fields of frmMain as the player sees them: the frames imgBack1 and imgBack2,
// the 200 cells pic, the 40 coordinate labels Label1 and the staging holder Picture1
// of the ship pieces. Every change to the board shows in its cell at once.
class FieldView : public QObject, private BoardObserver
{
    Q_OBJECT
public:
    FieldView(QWidget *window, Board &board);
    ~FieldView() override;

    void showCoordinates(bool on);
    void showFrames(bool on);
    QWidget *cell(int index) const; // pic(index)

signals:
    void pressed(int cellIndex, Qt::MouseButton button);
    void moved(int cellIndex);

private:
    void cellChanged(int index, Aspect aspect) override;

    Board &m_board;
    StoredPicture *m_frames[2] {};
    std::array<CellView *, Board::CellCount> m_cells {};
    std::array<QLabel *, 40> m_labels {};
    QLabel *m_shipPiece = nullptr;
};
