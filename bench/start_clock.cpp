// Times a program from its start until its window shows on the screen: the
// pixel at X, Y changes from what was there. Then, if asked, waits a while
// and reads the program's resident memory. The program is ended afterwards
// (forced after 5 s).
//
//   quorlith_bench_start X Y IDLE_MS -- PROGRAM [ARGUMENT...]
//
// Prints the milliseconds and, with IDLE_MS above 0, the resident memory in
// KiB after IDLE_MS more; "timeout" when nothing showed within 30 s.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

uint32_t Pixel(xcb_connection_t* connection, xcb_window_t root, int x, int y) {
  xcb_get_image_reply_t* image = xcb_get_image_reply(
      connection,
      xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(x),
                    static_cast<int16_t>(y), 1, 1, ~0u),
      nullptr);
  uint32_t pixel = 0;
  if (image != nullptr && xcb_get_image_data_length(image) >= 4) {
    std::memcpy(&pixel, xcb_get_image_data(image), 4);
  }
  std::free(image);
  return pixel & 0xFFFFFF;
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Asks the program to end, and ends it after 5 s if it has not.
void EndChild(pid_t child) {
  kill(child, SIGTERM);
  for (int waited = 0; waited < 500; ++waited) {
    if (waitpid(child, nullptr, WNOHANG) == child) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || std::strcmp(argv[4], "--") != 0) {
    std::fprintf(stderr, "usage: quorlith_bench_start X Y IDLE_MS -- PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const int x = std::atoi(argv[1]);
  const int y = std::atoi(argv[2]);
  const int idle_ms = std::atoi(argv[3]);
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) return 1;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const uint32_t before = Pixel(connection, root, x, y);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[5], argv + 5);
    _exit(127);
  }
  bool shown = false;
  while (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    shown = Pixel(connection, root, x, y) != before;
  }
  const auto seen = std::chrono::steady_clock::now();
  if (!shown) {
    std::printf("timeout\n");
  } else if (idle_ms > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(idle_ms));
    std::printf("%.1f %ld\n", std::chrono::duration<double, std::milli>(seen - start).count(),
                ResidentKiB(child));
  } else {
    std::printf("%.1f\n", std::chrono::duration<double, std::milli>(seen - start).count());
  }
  std::fflush(stdout);
  EndChild(child);
  xcb_disconnect(connection);
  return shown ? 0 : 1;
}
