// Starting the action that CommandMode selects for the current drop.
#pragma once

// 1 capture, 2 copy, 3 move, 4 delete; any other mode is reported in a
// message box and nothing else happens. Copies, moves and deletes go on off
// the window's thread when the shell has installed its waker (drop_work.h):
// the drop has ended once DropWorkRunning() is false again. CurrentOutcome()
// then says what it came to.
void DispatchDrop();
