// Starting the action that CommandMode selects for the current drop.
#pragma once

// 1 capture, 2 copy, 3 move, 4 delete; any other mode is reported in a
// message box and nothing else happens.
void DispatchDrop();
