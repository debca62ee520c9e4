#include "view/keys/windowkeys.h"

#include "view/fields/fieldview.h"
#include "view/frmmain.h"
#include "view/keys/keyboardplay.h"
#include "view/keys/keywatch.h"
#include "view/spoken/narrator.h"

#include <QPointer>

void WindowKeys::attach(frmMain &window, const FieldView &fields, const QList<QWidget *> &controls)
{
    auto *keys = new KeyWatch(window);
    QObject::connect(keys, &KeyWatch::keyDown, &window, &frmMain::Form_KeyDown);
    QObject::connect(keys, &KeyWatch::keyUp, &window, &frmMain::Form_KeyUp);
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
