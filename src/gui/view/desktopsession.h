#pragma once

class Prompter;

// How the game meets the desktop it runs on: which window system it speaks to, the name and
// icon the desktop shows for it, and what the system lacks for the game.
namespace DesktopSession {

// Before the application is made. In a Wayland session with an X server at hand (the
// desktop's own XWayland), and no platform chosen by the player, the game runs as an X
// client: Wayland lets no program place its windows, so its boxes would open wherever
// the compositor finds room, while an X window manager centres them over the game.
void preferXServer();

// Once the application is made: the icon the desktop shows for every window of the game.
// Run from a folder of its own rather than installed, the game has no menu entry the desktop
// could take its name and icon from; it leaves a hidden one in the player's data folders.
void dressApplication();

// Before the window, each told once in a box and in the log. With no font with Cyrillic letters,
// every word of the game is drawn as empty boxes and nothing says why: the box's title is drawn
// by the window manager and its words spoken by a screen reader, each with fonts of its own. A
// home the game cannot keep the player's data in: the game then saves less than expected.
void tellProblems(Prompter &prompter);

} // namespace DesktopSession
