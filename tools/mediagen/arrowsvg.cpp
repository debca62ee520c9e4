#include "arrowsvg.h"

#include <QList>
#include <QPointF>
#include <QString>

namespace {
// The arrow's outline pointing right: a shaft with a rounded tail and a broad head.
// Each entry is an SVG command letter and its points.
struct Step
{
    char command;
    QList<QPointF> points;
};

const QList<Step> arrowPointingRight {
    {'M', {{17, 41}}}, {'L', {{57, 41}}},           {'L', {{57, 19}}}, {'L', {{99, 55.5}}},
    {'L', {{57, 92}}}, {'L', {{57, 70}}},           {'L', {{17, 70}}}, {'Q', {{10, 70}, {10, 63}}},
    {'L', {{10, 48}}}, {'Q', {{10, 41}, {17, 41}}}, {'Z', {}},
};
// The upper half of the arrow, where the light catches it.
const QList<Step> glossPointingRight {
    {'M', {{15, 44}}}, {'L', {{60, 44}}}, {'L', {{60, 26}}},           {'L', {{93, 55}}},
    {'L', {{13, 55}}}, {'L', {{13, 48}}}, {'Q', {{13, 44}, {15, 44}}}, {'Z', {}},
};

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

QString pathData(const QList<Step> &steps, bool pointsRight, QPointF shift)
{
    QString data;
    for (const Step &step : steps) {
        data += QLatin1Char(step.command);
        for (const QPointF &point : step.points) {
            const double x = pointsRight ? point.x() : ArrowSvg::box - point.x();
            data += number(x + shift.x()) + QLatin1Char(',') + number(point.y() + shift.y())
                + QLatin1Char(' ');
        }
        data = data.trimmed() + QLatin1Char(' ');
    }
    return data.trimmed();
}
} // namespace

QByteArray ArrowSvg::document(bool pointsRight)
{
    const QString shadow = pathData(arrowPointingRight, pointsRight, QPointF(3, 3.5));
    const QString body = pathData(arrowPointingRight, pointsRight, QPointF());
    const QString gloss = pathData(glossPointingRight, pointsRight, QPointF());
    const QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\"\n"
        "     width=\"111\" height=\"111\" viewBox=\"0 0 111 111\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"body\" x1=\"0\" y1=\"19\" x2=\"0\" y2=\"92\" "
        "gradientUnits=\"userSpaceOnUse\">\n"
        "      <stop offset=\"0\" stop-color=\"#ffc15e\"/>\n"
        "      <stop offset=\"0.45\" stop-color=\"#f37707\"/>\n"
        "      <stop offset=\"1\" stop-color=\"#b94f00\"/>\n"
        "    </linearGradient>\n"
        "  </defs>\n"
        "  <path d=\"%1\" fill=\"#10162a\" fill-opacity=\"0.35\"/>\n"
        "  <path d=\"%2\" fill=\"url(#body)\" stroke=\"#6e2f00\" stroke-width=\"3\" "
        "stroke-linejoin=\"round\"/>\n"
        "  <path d=\"%3\" fill=\"#ffffff\" fill-opacity=\"0.22\"/>\n"
        "</svg>\n");
    return svg.arg(shadow, body, gloss).toUtf8();
}
