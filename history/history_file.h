#pragma once
#include "history/clip_history.h"

#include <QString>

namespace vt::HistoryFile {

// $XDG_DATA_HOME/Vantrel/history.json (~/.local/share/Vantrel/history.json by default). Computing
// it creates the Vantrel folder, readable by its owner only; a failure there is left to load and
// save to notice.
QString storeURL();

// The history saved at path; a fresh one (no items, limit 50) when there is none. A file that
// cannot be read or decoded is moved aside to <path>.unreadable-<UTC yyyyMMdd-hhmmss> so that the
// next save does not destroy it.
ClipHistory load(const QString& path);

// Deletes the unreadable files that load() kept aside next to path (at most the newest three are
// ever kept).
void removeSetAside(const QString& path);

// Replaces the file at path atomically (creating its folder again if it was deleted), readable by
// its owner only. False (and a log line) when the history could not be written; the file then keeps
// its previous content.
bool save(const ClipHistory& history, const QString& path);

} // namespace vt::HistoryFile
