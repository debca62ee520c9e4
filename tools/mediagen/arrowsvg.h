#pragma once

#include <QByteArray>

// Writes the turn indicators as SVG: a bold orange arrow with a darker outline, a
// glossy upper half and a soft drop shadow, on a 111 x 111 view box. The arrow
// under the left field points left, the one under the right field points right.
class ArrowSvg
{
public:
    static constexpr int box = 111;

    static QByteArray document(bool pointsRight);
};
