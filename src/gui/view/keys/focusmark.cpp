#include "view/keys/focusmark.h"

#include "view/look.h"

#include <QPainter>

FocusMark::FocusMark(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusMark"));
    setAccessibleName(tr("Рамка фокуса"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusMark::follow(QWidget *target)
{
    if (!target) {
        hide();
        return;
    }
    const QRect area(target->mapTo(parentWidget(), QPoint(0, 0)), target->size());
    setGeometry(area.adjusted(-2, -2, 2, 2));
    raise();
    show();
}

void FocusMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(Look::FocusMark, 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
