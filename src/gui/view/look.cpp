#include "view/look.h"

#include <QWidget>

QFont Look::serif(int pixelSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont Look::arialBlack(int pixelSize)
{
    QFont font(QStringLiteral("Arial Black"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setItalic(false); // never inherited from the window's italic font
    font.setPixelSize(pixelSize);
    return font;
}

void Look::paintText(QWidget *widget, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
}

void Look::dressWindow(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Sea);
    palette.setColor(QPalette::WindowText, WindowText);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFont(serif(16, true, true));
}
