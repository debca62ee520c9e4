#pragma once

#include <QString>

// The rows earlier versions of the game left waiting: "pending-results.jsonl" (a JSON object a
// line, with the results file each row was meant for) and "unsaved-results.txt" (tab-separated
// rows, for the file the game uses now). Each is taken over into the pending rows once, whole,
// and then removed; a line that is damaged is said in the log and not taken over.
namespace LegacyPending {

void takeOver(const QString &folder, const QString &resultsFile);
// The same for "notices-shown", the notices the player has seen, before any is looked up.
void takeOverNotices(const QString &folder);

} // namespace LegacyPending
