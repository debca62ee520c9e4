#pragma once

#include <QObject>

class QWidget;

// Ctrl and Esc for a window, whichever of its controls holds the focus. Held keys
// repeat only Ctrl's press; the other keys go on to their controls.
class KeyWatch : public QObject
{
    Q_OBJECT
public:
    explicit KeyWatch(QWidget &window);
    ~KeyWatch() override;

signals:
    void keyDown(int key);
    void keyUp(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
};
