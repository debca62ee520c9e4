#include "iconart.h"

#include <QPainter>
#include <QString>

#include <QSvgRenderer>
#include <utility>

namespace {
const char *const head = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny"
     width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="sky" x1="0" y1="12" x2="0" y2="150" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#8fb8ea"/>
      <stop offset="1" stop-color="#5d7fbf"/>
    </linearGradient>
    <linearGradient id="sea" x1="0" y1="150" x2="0" y2="244" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#455781"/>
      <stop offset="1" stop-color="#23304f"/>
    </linearGradient>
    <linearGradient id="hull" x1="0" y1="120" x2="0" y2="172" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#c3c9d2"/>
      <stop offset="1" stop-color="#6c7380"/>
    </linearGradient>
  </defs>
  <rect x="12" y="12" width="232" height="232" rx="44" fill="url(#sky)"/>
  <path d="M12,150 H244 V200 Q244,244 200,244 H56 Q12,244 12,200 Z" fill="url(#sea)"/>
)svg";

// The detailed ship: hull with a raked bow, two turrets, bridge, funnel and mast.
const char *const detailedShip
    = R"svg(  <g stroke="#1e222a" stroke-width="3" stroke-linejoin="round">
    <path d="M58,118 V100 M52,104 H64" fill="none" stroke-width="3"/>
    <path d="M120,96 V70 M110,78 H130" fill="none"/>
    <path d="M102,128 V104 H136 V128 Z" fill="#d7dce3"/>
    <path d="M108,104 V92 H130 V104 Z" fill="#c4cad3"/>
    <path d="M146,128 L150,94 H168 L168,128 Z" fill="#9aa1ad"/>
    <path d="M150,94 H168 V101 H149 Z" fill="#262326"/>
    <path d="M176,128 V118 Q176,112 184,112 H196 Q202,112 202,118 V128 Z" fill="#aeb5c0"/>
    <path d="M198,116 L226,110" fill="none" stroke-width="4" stroke-linecap="round"/>
    <path d="M66,128 V118 Q66,112 74,112 H86 Q92,112 92,118 V128 Z" fill="#aeb5c0"/>
    <path d="M68,116 L44,110" fill="none" stroke-width="4" stroke-linecap="round"/>
    <path d="M30,128 H232 L214,168 H48 Z" fill="url(#hull)"/>
  </g>
  <path d="M40,172 Q64,162 88,172 T136,172 T184,172 T232,172" fill="none" stroke="#e8f0ff"
        stroke-width="5" stroke-linecap="round" stroke-opacity="0.8"/>
)svg";

// The plain ship for small sizes: a dark silhouette against the light sky, with a
// light waterline so it stands out from the sea too.
const char *const plainShip
    = R"svg(  <g fill="#2e333d" stroke="#2e333d" stroke-width="4" stroke-linejoin="round">
    <path d="M96,130 V98 H144 V130 Z"/>
    <path d="M154,130 V80 H180 V130 Z"/>
    <path d="M50,124 H214 L196,172 H66 Z"/>
  </g>
  <path d="M56,184 H206" stroke="#e8f0ff" stroke-width="10" stroke-linecap="round"/>
)svg";

// The sight: white under red, so it reads on both the sky and the sea.
QString sight(bool small)
{
    // Small icons keep the sight to a ring with short ticks, clear of the ship.
    const double ring = small ? 100 : 78;
    const double outer = small ? 12 : 128 - ring - 26;
    const double inner = small ? 128 - ring + 20 : 128 - ring + 30;
    QString group;
    const std::pair<const char *, double> strokes[]
        = {{"#ffffff", small ? 0.0 : 20.0}, {"#c00000", small ? 22.0 : 10.0}};
    for (const auto &[colour, width] : strokes) {
        if (width == 0)
            continue;
        group
            += QStringLiteral("  <g fill=\"none\" stroke=\"%1\" stroke-width=\"%2\">\n"
                              "    <circle cx=\"128\" cy=\"128\" r=\"%3\"/>\n"
                              "    <path d=\"M128,%4 V%5 M128,%6 V%7 M%4,128 H%5 M%6,128 H%7\"/>\n"
                              "  </g>\n")
                   .arg(QLatin1String(colour))
                   .arg(width)
                   .arg(ring)
                   .arg(outer)
                   .arg(inner)
                   .arg(256 - inner)
                   .arg(256 - outer);
    }
    return group;
}
} // namespace

QByteArray IconArt::svg(bool small)
{
    QString document = QLatin1String(head);
    document += QLatin1String(small ? plainShip : detailedShip);
    document += sight(small);
    document += QLatin1String("</svg>\n");
    return document.toUtf8();
}

QImage IconArt::png(int pixels)
{
    QSvgRenderer renderer(svg(pixels <= 32));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
