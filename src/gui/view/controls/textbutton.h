#pragma once

#include <QLabel>

// A label that acts as a button: clicked on release over it or by Enter or Space, and
// told when the pointer passes over it (for the hover frame of the placement buttons).
class TextButton : public QLabel
{
    Q_OBJECT
public:
    TextButton(const QString &name, const QString &caption, QWidget *parent);

signals:
    void clicked();
    void hovered();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // Enter or Space, once a key has given it the focus.
    void keyPressEvent(QKeyEvent *event) override;
};
