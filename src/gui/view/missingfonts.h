#pragma once

class Prompter;

// With no font installed at all, or none with Cyrillic letters, every word of the game is drawn as
// empty boxes and nothing says why. Told once at start-up: a line on stderr, and a box whose title
// the window manager draws and whose words a screen reader speaks, each with fonts of its own.
namespace MissingFonts {

void tell(Prompter &prompter);

} // namespace MissingFonts
