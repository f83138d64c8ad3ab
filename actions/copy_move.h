// The copy and move actions (CommandMode 2 and 3).
#pragma once

// Copies or moves every dropped file and folder into CopyDestination or
// MoveDestination, after the confirmation question, with an overwrite
// question for each existing target file and a merge question for each
// existing target folder. A source is deleted only after its copy succeeded;
// a file is never copied onto itself, nor a folder into itself.
void CopyOrMoveFiles();
