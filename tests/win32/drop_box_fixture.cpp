#include "tests/win32/drop_box_fixture.h"

#include <sstream>

#include "actions/drop_list.h"
#include "app/common/program.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"

namespace win32_testing {
namespace {

// Dispatches what waits in the queue, as the message loop would.
void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

void DropBoxTest::SetUpTestSuite() {
  static const ATOM registered = [] {
    ClassName = "Quorlith";
    SetMetric("pixels");
    InitGui();
    return RegisterFormClass(ClassName.c_str(), DropBoxProc);
  }();
  ASSERT_NE(registered, 0);
}

void DropBoxTest::SetUp() {
  platform::SetOpenHandler([this](const std::string& path) {
    opened_.push_back(path);
    return true;
  });
}

void DropBoxTest::TearDown() {
  Finish();
  platform::SetOpenHandler(nullptr);
}

void DropBoxTest::WriteSettings(const SettingsChanges& changes) {
  std::istringstream first_run(
      "[Coordinates]\nx=244\ny=200\nw=75\nh=75\nt=75\nb=1\nm=1\n[Options]\nCommandMode=1\n"
      "pathaction=1\nlistseparator=1\nencase=0\ndeletetobin=1\nconfirmdelete=1\nconfirmcopy=1\n"
      "confirmmove=1\noverwritefile=0\nCopyDestination=\nMoveDestination=\n");
  std::string text;
  for (std::string line; std::getline(first_run, line);) {
    const auto changed = changes.find(line.substr(0, line.find('=')));
    text += (changed == changes.end() ? line : changed->first + "=" + changed->second) + "\r\n";
  }
  testing_support::WriteFile(IniPathHere(), text);
}

void DropBoxTest::Start() {
  FormLoadIn(folder_.path(), "");
  ASSERT_TRUE(IsWindow(DropBoxWindow));
  Pump();
}

void DropBoxTest::Finish() {
  if (IsWindow(DropBoxWindow)) DestroyWindow(DropBoxWindow);
  Pump();
}

void DropBoxTest::PumpUntilDone() {
  const ULONGLONG give_up = GetTickCount64() + 20000;
  do {
    Pump();
    Sleep(1);
  } while (DropActionRunning() && GetTickCount64() < give_up);
  Pump();
}

BYTE DropBoxTest::Alpha() const {
  BYTE alpha = 0;
  GetLayeredWindowAttributes(DropBoxWindow, nullptr, &alpha, nullptr);
  return alpha;
}

std::vector<int> DropBoxTest::Placement() const {
  RECT r = {};
  GetWindowRect(DropBoxWindow, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::vector<int> DropBoxTest::SavedRect() const {
  return {FileNumber("x"), FileNumber("y"), FileNumber("w"), FileNumber("h")};
}

int DropBoxTest::FileNumber(const char* key) const {
  return ReadIniNumber(IniPathHere().c_str(), "Coordinates", key, -9999);
}

}  // namespace win32_testing
