#include "view/keys/windowkeys.h"

#include "view/fields/fieldview.h"
#include "view/frmmain.h"
#include "view/keys/keyboardplay.h"
#include "view/spoken/narrator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {
// Ctrl and Esc for the window, whichever of its controls holds the focus. Held keys
// repeat only Ctrl's press; the other keys go on to their controls.
class KeyWatch : public QObject
{
public:
    explicit KeyWatch(frmMain &window) : QObject(&window), m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~KeyWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool press = event->type() == QEvent::KeyPress;
        if ((!press && event->type() != QEvent::KeyRelease) || !watched->isWidgetType()
            || static_cast<QWidget *>(watched)->window() != &m_window)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = key->key();
        if (code != Qt::Key_Control && code != Qt::Key_Escape)
            return false;
        if (press && (!key->isAutoRepeat() || code == Qt::Key_Control))
            m_window.Form_KeyDown(code);
        else if (!press && !key->isAutoRepeat())
            m_window.Form_KeyUp(code);
        return true;
    }

private:
    frmMain &m_window;
};
} // namespace

void WindowKeys::attach(frmMain &window, const FieldView &fields, const QList<QWidget *> &controls)
{
    new KeyWatch(window);
    Game &game = window.game();
    // The fields go before the window's last focus change, which the narrator still hears.
    const QPointer<const FieldView> cells(&fields);
    auto *narrator = new Narrator(
        window, game, [cells](int index) { return cells ? cells->cell(index) : nullptr; });
    auto *keyboard = new KeyboardPlay(window, game, fields, controls, *narrator);
    // The preview as under the pointer, without the aim cursor, which follows the pointer only.
    QObject::connect(keyboard, &KeyboardPlay::cellPointed, &game, &Game::pointerOverCell);
    QObject::connect(keyboard, &KeyboardPlay::cellPressed, &window, [&window](int index) {
        window.game().pointerOverCell(index);
        window.pic_MouseDown(index, Qt::LeftButton);
    });
    QObject::connect(keyboard, &KeyboardPlay::fieldLeft, &game, &Game::pointerOverBareWindow);
}
