#include "view/controls/textbutton.h"

#include "view/spoken/pressableaccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>

TextButton::TextButton(const QString &name, const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    PressableAccessible::install(); // before the first look of a screen reader
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
    setFrameShape(QFrame::NoFrame);
}

void TextButton::mouseMoveEvent(QMouseEvent *)
{
    emit hovered();
}

void TextButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TextButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TextButton::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        emit clicked();
}
