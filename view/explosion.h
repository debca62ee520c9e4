#pragma once

class BoomBox;
class RandomSource;

// The explosion drawn dot by dot into a hit-marker box, each dot shown at once:
// 200 passes of one red dot within 70 units of the centre, two red within 140 and
// three grey within 210; then 3,000 points dissolve it into the background.
// 4,200 synchronous repaints in all.
void drawExplosion(BoomBox &box, RandomSource &random);
