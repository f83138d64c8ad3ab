// Removing trees: what a failed copy made, and the sources of a move once
// their copies are whole at the target.
#pragma once

#include <string>
#include <unordered_set>

#include "actions/tree_copy.h"

// Removes the tree at path, whatever look its folders were given; links go as
// links. False when something of it stays.
bool RemoveTree(const std::string& path);

// After the copy of source to target for a move: removes each source entry
// whose copy is whole at the target (a plain file of the same size, a link),
// except those kept, then each folder left empty, source itself last. tally
// counts the entries removed (files) and those that stayed for a reason of
// their own (failed); false when the program asked to stop meanwhile.
bool RemoveMovedSources(const std::string& source, const std::string& target,
                        const std::unordered_set<std::string>& kept, TreeTally& tally);
