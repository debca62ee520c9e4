#include "view/windowlayout.h"

#include <QWidget>

#include <algorithm>

namespace {

struct Place
{
    const char *name;
    QRect geometry;
};

const Place places[] = {
    {"imgBack1", {32, 35, 354, 351}},   {"imgBack2", {440, 35, 354, 351}},
    {"LeftL", {80, 416, 111, 111}},     {"RightL", {648, 416, 111, 111}},
    {"Picture1", {0, 552, 33, 33}},     {"chGrid", {16, 576, 145, 19}},
    {"chMusic", {176, 576, 81, 19}},    {"chBack", {272, 576, 129, 19}},
    {"chPoints", {408, 576, 65, 19}},   {"lblStat", {592, 576, 96, 19}},
    {"cmdNewGame", {704, 576, 81, 19}}, {"lblSetAuto", {288, 392, 215, 21}},
    {"lblSetY", {288, 424, 212, 21}},   {"lblAgree", {288, 424, 215, 21}},
    {"lblHelp", {176, 392, 439, 19}},   {"Frame1", {248, 392, 329, 185}},
};

// The picker's members stand on screen in this order of members, top to bottom:
// members 5 and 8 have each other's places.
constexpr int pickerTops[10] = {408, 424, 440, 456, 472, 504, 536, 552, 488, 520};

} // namespace

void WindowLayout::place(QWidget *control)
{
    for (const Place &place : places) {
        if (control->objectName() == QLatin1String(place.name)) {
            control->setGeometry(place.geometry);
            return;
        }
    }
    qWarning("No place in the window for %s", qPrintable(control->objectName()));
}

QRect WindowLayout::cell(int index)
{
    const int j = index % 100;
    const int left = index < 100 ? 48 : 456;
    return {left + 32 * (j % 10), 48 + 32 * (j / 10), 33, 33};
}

QRect WindowLayout::coordinateLabel(int k)
{
    if (k < 20) {
        const int row = k % 10;
        const bool ten = row == 9;
        const int x = k < 10 ? (ten ? 0 : 8) : (ten ? 408 : 416);
        return {x, (k < 10 ? 48 : 32) + 32 * row, ten ? 28 : 14, 31};
    }
    // Centred over its column, so wide letters such as "Ж" keep clear of their neighbours.
    return {(k < 30 ? 48 : 456) + 32 * (k % 10), 0, 32, 31};
}

QRect WindowLayout::hitMarker(int k)
{
    return {16 + 40 * (k % 10), 544 + 32 * (k / 10), 33, 33};
}

QRect WindowLayout::pickerMember(int member)
{
    return {384, pickerTops[member], 33, 17};
}

QRect WindowLayout::levelButton(int k)
{
    return {296, 424 + 56 * k, 209, 25};
}

QList<QWidget *> WindowLayout::inReadingOrder(QList<QWidget *> controls)
{
    // Controls that share a place never show together (lblSetY and lblAgree): kept as given.
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget *a, const QWidget *b) {
        const QPoint first = a->geometry().topLeft(), second = b->geometry().topLeft();
        return first.y() != second.y() ? first.y() < second.y() : first.x() < second.x();
    });
    return controls;
}
