#pragma once

#include <QString>

// The notices about where the results are kept that the player has seen, remembered in
// "notices-shown" of the data folder, so each is given once, not at every start. Where the
// data folder takes no file, a notice is given again at the next start.
namespace ShownNotices {

bool contains(const QString &key);
void add(const QString &key);

} // namespace ShownNotices
