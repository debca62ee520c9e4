#include "view/prompter.h"

#include "view/modalover.h"
#include "view/spoken/spokenwords.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>

namespace {
// The standard buttons speak the game's language, not Qt's: Qt's own Russian leaves "OK" in
// Latin letters, and no Qt translation is installed. A screen reader reads the text's words,
// not the signs it is drawn with.
int run(QMessageBox &box, QWidget *parent)
{
    if (QAbstractButton *ok = box.button(QMessageBox::Ok))
        ok->setText(QCoreApplication::translate("Prompter", "ОК"));
    if (QAbstractButton *yes = box.button(QMessageBox::Yes))
        yes->setText(QCoreApplication::translate("Prompter", "Да"));
    if (QAbstractButton *no = box.button(QMessageBox::No))
        no->setText(QCoreApplication::translate("Prompter", "Нет"));
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(SpokenWords::forEar(box.text(), box.windowTitle()));
    return ModalOver::exec(box, parent);
}
} // namespace

void MessageBoxPrompter::inform(QWidget *parent, const QString &text, const QString &title)
{
    // A blank title for an empty one, which would show the program's Latin name instead.
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? QStringLiteral(" ") : title, text,
                    QMessageBox::Ok, parent);
    run(box, parent);
}

bool MessageBoxPrompter::ask(QWidget *parent, const QString &title, const QString &question)
{
    QMessageBox box(QMessageBox::NoIcon, title, question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return run(box, parent) == QMessageBox::Yes;
}
