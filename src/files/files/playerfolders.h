#pragma once

#include <QString>

// The player's own folders for the game, by the XDG rules: $XDG_DATA_HOME and
// $XDG_CACHE_HOME when they name absolute paths, else .local/share and .cache in $HOME. A
// home that cannot be named (HOME unset, not in UTF-8, relative, not a folder) gives no
// folder at all: the game then keeps nothing rather than write beside it or under the root.
namespace PlayerFolders {

// The game's folder in the data home, or empty.
QString data();
// The data home itself (menu entries lie there), or empty.
QString dataHome();
// The game's folder in the cache home, or empty.
QString cache();
// Why the home cannot serve, in English for the log; empty when it can.
QString homeProblem();
// In words for the player when the game has no data folder for it; empty otherwise.
QString homeNotice();

} // namespace PlayerFolders
