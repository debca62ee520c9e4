#include "view/effects/hitmarkers.h"

#include "view/effects/boombox.h"
#include "view/effects/explosion.h"
#include "view/fields/picturefiles.h"
#include "view/windowlayout.h"

HitMarkers::HitMarkers(QWidget *window, RandomSource &random) : QObject(window), m_random(random)
{
    setObjectName(QStringLiteral("picBoom"));
    for (int k = 0; k < int(m_boxes.size()); ++k) {
        auto *box = new BoomBox(k, window);
        box->setGeometry(WindowLayout::hitMarker(k));
        box->setAccessibleName(tr("Попадание"));
        connect(box, &BoomBox::pressed, this, &HitMarkers::pressed);
        connect(box, &BoomBox::moved, this, &HitMarkers::moved);
        box->hide();
        m_boxes[k] = box;
    }
}

void HitMarkers::setBackColor(const QColor &colour)
{
    for (BoomBox *box : m_boxes)
        box->setBackColor(colour);
}

void HitMarkers::DrawBoom(int cellIndex)
{
    // A game has at most 39 hits; were the boxes ever exhausted, the game goes on
    // without a marker.
    if (m_next >= int(m_boxes.size()))
        return;
    BoomBox *box = m_boxes[m_next++];
    box->move(WindowLayout::cell(cellIndex).topLeft());
    box->setCell(cellIndex);
    box->raise();
    box->clear();
    box->refresh();
    box->show();
    drawExplosion(*box, m_random);
    // Without the hit picture the explosion's last canvas stays.
    box->setPicture(PictureFiles::readImage(QStringLiteral("picBoom.bmp")));
}

void HitMarkers::clear()
{
    for (BoomBox *box : m_boxes) {
        box->hide();
        box->setCell(-1);
        box->setPicture(QImage());
    }
    m_next = 0;
}
