// The Windows program's entry: everything happens in StartUp.
#include "app/win32/drop_box_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command) {
  return StartUp(instance, previous, command_line, show_command);
}
