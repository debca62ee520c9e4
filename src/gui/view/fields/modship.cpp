#include "view/fields/modship.h"

#include "model/cellpicture.h"
#include "view/fields/pictureclip.h"
#include "view/fields/picturefiles.h"
#include "view/fields/pictureholder.h"

void modShip::LoadShipPart(int piece, int size, int orientation, PictureHolder &holder)
{
    // The cutter keeps its last picture between calls, like the hidden control it stands for.
    static PictureClip PClip;
    if (orientation == Orientation::Horizontal) {
        PClip.setRows(1);
        PClip.setCols(size);
    } else {
        PClip.setRows(size);
        PClip.setCols(1);
    }
    const QString fileName = QStringLiteral("Ship%1%2.bmp").arg(size).arg(orientation);
    const QImage strip = PictureFiles::readImage(fileName);
    if (strip.isNull())
        return;
    PClip.setPicture(strip);
    const QImage part = PClip.graphicCell(piece - 1);
    if (part.isNull()) {
        PictureFiles::warnOnce(fileName,
                               QStringLiteral("it is too small to hold %1 pieces").arg(size));
        return;
    }
    holder.setPicture(part);
}
