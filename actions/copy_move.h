// The copy and move actions (CommandMode 2 and 3).
#pragma once

// Copies or moves every dropped file into CopyDestination or MoveDestination,
// after the confirmation question and with an overwrite question for each
// existing target. A source is deleted only after its copy succeeded; a file
// is never copied onto itself.
void CopyOrMoveFiles();
