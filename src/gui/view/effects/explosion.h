#pragma once

class BoomBox;
class RandomSource;

// How the explosion's dots reach the screen.
enum class ExplosionPacing {
    EveryStep, // a synchronous repaint after every dot and point (X11: ~50 us each)
    Frames, // where every repaint waits for the compositor (Wayland): the dots drawn in
            // one display frame are shown together, in order, within about half a second
};

// The pacing the platform the program runs on needs.
ExplosionPacing platformExplosionPacing();

// The explosion drawn dot by dot into a hit-marker box: 200 passes of one red dot
// within 70 units of the centre, two red within 140 and three grey within 210; then
// 3,000 points dissolve it into the background. 4,200 steps in all, each shown at once.
void drawExplosion(BoomBox &box, RandomSource &random,
                   ExplosionPacing pacing = platformExplosionPacing());
