#pragma once

#include <QAccessibleWidget>

// The cells and the text buttons as a screen reader should call them: buttons, each
// named by its accessible name or else by its caption. Installed once for the program.
class PressableAccessible : public QAccessibleWidget
{
public:
    explicit PressableAccessible(QWidget *widget);

    QString text(QAccessible::Text kind) const override;

    static void install();
};
