#include "view/fields/aimcursor.h"

#include "view/fields/picturefiles.h"

#include <QWidget>

void AimCursor::showOn(QWidget &window)
{
    const std::optional<PictureFiles::Cursor> aim
        = PictureFiles::readCursor(QStringLiteral("Sn.cur"));
    if (!aim)
        return;
    if (aim->picture.cacheKey() == m_picture && window.cursor().shape() == Qt::BitmapCursor)
        return;
    window.setCursor(QCursor(aim->picture, aim->hotSpot.x(), aim->hotSpot.y()));
    m_picture = aim->picture.cacheKey();
}

void AimCursor::hideFrom(QWidget &window)
{
    window.unsetCursor();
}
