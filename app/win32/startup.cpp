// The program's entry, its class registration, the start-up sequence and the
// one message loop.
#include "app/win32/drop_box_shell.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"

#include "actions/drop_work.h"
#include "app/common/box_geometry.h"
#include "app/common/box_opacity.h"
#include "app/common/program.h"
#include "app/common/start_paths.h"
#include "app/win32/late_library.h"
#include "text/strings.h"

HINSTANCE ProgramInstance = nullptr;
float ScaleX = 1.0f;
float ScaleY = 1.0f;
bool GuiReady = false;
WNDCLASSEXA FormClass = {};
std::vector<std::string> StartPaths;
platform::RequestKind StartKind = platform::RequestKind::kPaths;

namespace {

constexpr WORD kIconId = 100;
constexpr UINT kClassStyle = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;  // 0x23
// ListView, TreeView, bars, tabs, up-down, progress, date and ComboBoxEx.
constexpr DWORD kCommonControls = 0x33F;

HICON LoadProgramIcon(HINSTANCE instance) { return LoadIconA(instance, MAKEINTRESOURCEA(kIconId)); }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  // In 96-DPI pixels, as the settings file holds the place; positions scale
  // by the system's DPI, as CreateForm places the box.
  const int dpi = SystemDpi();
  const RECT& r = info.rcWork;
  const int left = ToBasePixels(r.left, dpi);
  const int top = ToBasePixels(r.top, dpi);
  const ScreenRect area{left, top, ToBasePixels(r.right, dpi) - left,
                        ToBasePixels(r.bottom, dpi) - top};
  auto& list = *reinterpret_cast<std::vector<ScreenRect>*>(areas);
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    list.insert(list.begin(), area);
  } else {
    list.push_back(area);
  }
  return TRUE;
}

// The work area of every screen, the primary's first.
std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

// Everything after the settings are in memory.
void CreateDropBox() {
  const BoxSize size = ShownBoxSize();
  const BoxPlace place = ShownBoxPlace(WorkAreas());
  Box = std::make_unique<DropBox>();
  DropBoxWindow =
      CreateForm(kWindowTitle, place.x, place.y, size.w, size.h, kDropBoxStyle, kDropBoxExStyle);
  SetLayeredWindowAttributes(DropBoxWindow, 0, ShownAlpha(), LWA_ALPHA);
  // Double-clicks reach DropBoxProc from here on; they lock and unlock the box.
  const DWORD class_style = GetClassLongA(DropBoxWindow, GCL_STYLE);
  SetClassLongA(DropBoxWindow, GCL_STYLE, class_style | CS_DBLCLKS);
  BuildContextMenu();
  DragAcceptFiles(DropBoxWindow, TRUE);
  // The drops' copies, moves and deletes run off this thread; what they hand
  // back (questions, their end) comes here as a message.
  HWND window = DropBoxWindow;
  InstallWindowWaker([window] { PostMessageW(window, kRunWindowTasksMessage, 0, 0); });
  ApplySettings();
  SetTimer(DropBoxWindow, kLateStartTimer, 0, nullptr);
  // A later start over the same settings file hands this box its paths, or
  // brings it to the front.
  SettingsClaim->ServeRequests(
      [](platform::InstanceRequest request) { HandleRequest(std::move(request)); });
}

bool FinishFormLoad(bool run) {
  if (!run) return false;
  CreateDropBox();
  Box->SettingsApplied();
  // The paths of the command line are the first drop; a paste asked on it
  // takes the clipboard's files as one.
  platform::InstanceRequest request = platform::RequestFromHere(StartPaths);
  request.kind = StartKind;
  if (!StartPaths.empty() || StartKind == platform::RequestKind::kPaste) HandleRequest(request);
  return true;
}

// The files and folders the command line names: a drop on the program's
// icon or a shortcut to it, Send To, Open With. Every argument is one, but
// for a switch standing alone (CommandSwitch).
std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> paths;
  if (arguments == nullptr) return paths;
  for (int i = 1; i < count; ++i) paths.push_back(platform::win32::Narrow(arguments[i]));
  LocalFree(arguments);
  return paths;
}

}  // namespace

void InitGui() {
  if (GuiReady) return;
  ScaleX = 1.0f;
  ScaleY = 1.0f;
  ProgramInstance = GetModuleHandleA(nullptr);
  FormClass = {};
  FormClass.cbSize = sizeof(WNDCLASSEXA);
  FormClass.style = kClassStyle;
  FormClass.hInstance = ProgramInstance;
  // Icon 100 joins the class once the box shows (LateStart): loading it
  // first would hold up the first paint for nothing a tool window shows.
  FormClass.hIcon = nullptr;
  FormClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  FormClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  // The common controls are set up when the first one is made (the tip):
  // their library costs the start a few megabytes the first paint never uses,
  // so it is not even imported, only loaded then.
  GuiReady = true;
}

void InitCommonControlsOnce() {
  static const bool done = [] {
    const auto init =
        LateFunction<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), kCommonControls};
    return init != nullptr && init(&controls) != FALSE;
  }();
  static_cast<void>(done);
}

void SetMetric(const char* metric) {
  if (!GuiReady) InitGui();
  if (CompareTextNoCase(metric, "PIXELS") == 0) {
    ScaleX = 1.0f;
    ScaleY = 1.0f;
  }
}

ATOM RegisterFormClass(const char* name, WNDPROC procedure) {
  if (!GuiReady) InitGui();
  ClassName = std::string(name);  // name may be ClassName itself
  FormClass.lpfnWndProc = procedure;
  FormClass.hInstance = ProgramInstance;
  FormClass.lpszClassName = ClassName.c_str();
  return RegisterClassExA(&FormClass);
}

bool FormLoad() { return FinishFormLoad(PrepareProgram({"", StartPaths, StartKind})); }

bool FormLoadIn(const std::string& program_folder, const std::string& user_folder) {
  return FinishFormLoad(PrepareProgramIn(program_folder, user_folder));
}

void LateStart(HWND window) {
  SetClassLongPtrW(window, GCLP_HICON,
                   reinterpret_cast<LONG_PTR>(LoadProgramIcon(ProgramInstance)));
  RegisterDropTarget(window);
  if (Box) Box->SweepDestinations();
}

void DispatchLoopMessage(MSG& message) {
  // The W calls: a character typed into the settings window reaches its
  // fields as the UTF-16 the system has, whatever the code page.
  HWND active = GetActiveWindow();
  if (IsWindow(active) && IsDialogMessageW(active, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchLoopMessage(message);
  return static_cast<int>(message.wParam);
}

int StartUp(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*command_line*/,
            int /*show_command*/) {
  // The command line in UTF-16, whole: the 8-bit one loses every name
  // outside the code page.
  StartPaths = CommandLineArguments();
  StartKind = platform::RequestKind::kPaths;
  if (const auto kind = CommandSwitch(StartPaths)) {
    StartKind = *kind;
    StartPaths.clear();
  }
  ClassName = "Quorlith";
  SetMetric("pixels");
  InitGui();
  ProgramInstance = instance;
  RegisterFormClass(ClassName.c_str(), DropBoxProc);
  // A box already running over the same settings file took the request
  // (or, asked to close, ended).
  if (!FormLoad()) return EarlyExitCode;
  return RunMessageLoop();
}
