#pragma once

#include <QWidget>

class QPainter;

// A 33 x 33 surface standing for one cell of the fields: a cell itself, or a hit marker
// laid over it. A press or a move on it is the press or move of that cell.
class CellSurface : public QWidget
{
    Q_OBJECT
public:
    // The cell it stands for; -1: none, and presses and moves are ignored.
    int cell() const { return m_cell; }
    void setCell(int index) { m_cell = index; }

signals:
    void pressed(int cellIndex, Qt::MouseButton button);
    void moved(int cellIndex);

protected:
    CellSurface(int cell, QWidget *parent);
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // The field's grid line around the surface.
    void paintGridLine(QPainter &painter) const;

private:
    int m_cell;
};
