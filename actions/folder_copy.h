// The copy and the move of a dropped folder, the whole of it.
#pragma once

#include <string>

#include "actions/drop_plan.h"
#include "actions/progress.h"

// Copies or moves (as CommandMode says) the dropped folder source into the
// folder destination (ending in the separator) as a folder of its name: one
// question whether to merge into a folder of that name that is there, one
// failure box for what of it failed, all of it counted into
// CurrentOutcome(). A move within one volume renames it; across volumes the
// whole of it is copied before any source goes, and a copy that fails
// because the destination takes no more leaves the source whole and nothing
// of itself behind.
void CopyOrMoveFolder(const std::string& source, const std::string& destination, DroppedItem& item,
                      ProgressPlace& place);
