// The Windows program: its start-up, the drop box window, its window
// procedure, its context menu and the reception of dropped files. All state
// lives for the whole run and belongs to the one GUI thread.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/box_geometry.h"
#include "app/common/drop_box.h"
#include "platform/instance.h"

struct IDropTarget;

// Start-up and message loop (startup.cpp).
extern HINSTANCE ProgramInstance;
extern float ScaleX;
extern float ScaleY;
extern bool GuiReady;
// The class record InitGui fills and RegisterFormClass completes.
extern WNDCLASSEXA FormClass;

// The program's entry: only the instance is used. Returns the exit code.
int StartUp(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command);
// Selects the scaling of window geometry; "pixels" (any letter case) is 1:1.
void SetMetric(const char* metric);
// Fills FormClass, once per process.
void InitGui();
// Initialises the common controls (ListView, TreeView, bars, tabs, up-down,
// progress, date and ComboBoxEx), once per process, before the first control
// is made.
void InitCommonControlsOnce();
// Registers FormClass under name with procedure; the class atom, 0 on failure.
ATOM RegisterFormClass(const char* name, WNDPROC procedure);
// The start-up sequence: texts, the settings file found or created and
// loaded, the hidden box created, its opacity, double-clicks, menu, drops,
// then ApplySettings shows it. False when a box already runs over the same
// settings file: it came to the front, and this start ends with exit code 0.
bool FormLoad();
// The same over a settings file in the folders given (each with a trailing
// backslash, or empty): tests start the box in a folder of their own.
bool FormLoadIn(const std::string& program_folder, const std::string& user_folder);
// Once the box is on the screen: what its first paint did not need, the
// class icon, the OLE drop target and the sweep of the destination folders.
void LateStart(HWND window);
// Pumps messages until the quit message; returns its exit code.
int RunMessageLoop();
// Hands one message on as the loop does: to the active window's dialog
// keys (Tab, Enter, Esc, access keys) when it is one of ours, else to its
// window.
void DispatchLoopMessage(MSG& message);

// The drop box window (drop_box.cpp).
extern HWND DropBoxWindow;
// The box's behaviour behind the window, from its creation until the window
// is destroyed.
extern std::unique_ptr<DropBox> Box;

constexpr DWORD kDropBoxStyle = 0x80400000;  // WS_POPUP | WS_DLGFRAME, hidden
constexpr DWORD kDropBoxExStyle = 0x80290;   // layered, client edge, tool window, accepts files

// Creates a window of the program's class at x, y sized (w + 4) x (h + 12),
// scaled by ScaleX and ScaleY and from 96-DPI to screen pixels, with the
// stock GUI font.
HWND CreateForm(const char* title, int x, int y, int w, int h, DWORD style, DWORD ex_style);
// Adds and removes style bits (the extended style when extended is set) and
// lets the new frame take effect in place. True when no error was recorded.
bool ChangeWindowStyle(HWND window, DWORD add, DWORD remove, bool extended);
// Brings DropBoxWindow in line with SettingsRecord: opacity, frame by b,
// redraw, shown, topmost with an outer size of exactly w x h 96-DPI pixels.
void ApplySettings();
// The window's outer rectangle in 96-DPI pixels, as the settings file keeps it.
ScreenRect OuterRect96(HWND window);

// Screen scaling (dpi_scale.cpp). The settings file holds 96-DPI pixels.
// Positions use one factor, the system's DPI, so a saved place comes back to
// the same spot; sizes use the DPI of the screen the box is on, so the box
// looks the same size on every screen.
int SystemDpi();
int WindowDpi(HWND window);
int ToScreenPixels(int pixels, int dpi);
int ToBasePixels(int pixels, int dpi);

// The window procedure (window_proc.cpp).
LRESULT CALLBACK DropBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The frame as hit-test codes (frame_sizing.cpp).
bool IsSizingCode(LRESULT hit);
// The sides of the frame a hit-test code names; none for the body (HTCAPTION).
Edges EdgesOfHit(LRESULT hit);
// The sizing code for a screen point on the box's frame band; HTNOWHERE
// elsewhere.
LRESULT FrameSizingCode(HWND window, POINT screen);
// Puts the box at r without restacking or activating it.
void PlaceAt(HWND window, const ScreenRect& r);
ScreenRect WindowRectOf(HWND window);

// A left press on the unlocked box's body or frame (press_drag.cpp): hit is
// the hit-test code of the press at screen_point. False when the press is
// not one of those and belongs to the default procedure.
bool PressOnUnlockedBox(HWND window, LRESULT hit, LPARAM screen_point);

// The context menu (context_menu.cpp).
extern HMENU HiddenMenu;
extern HMENU ContextMenu;

// Makes ContextMenu with its items and hangs it in HiddenMenu.
void BuildContextMenu();
// Opens ContextMenu at the pointer, or at the point given; a chosen item
// comes back as WM_COMMAND.
void ShowContextMenu();
void ShowContextMenuAt(POINT at);
// Carries out the menu command id; true when it destroyed the box.
bool RunDropBoxCommand(int id);

// The settings window (settings_window.cpp): shown, or the open one brought
// to the front; the one open now, null when none is.
void ShowSettingsWindow();
extern HWND SettingsWindow;
// The system's folder picker (folder_picker.cpp), owned by owner, titled
// title and opened at start: the folder chosen, or nothing when cancelled.
std::optional<std::string> PickFolder(HWND owner, const std::string& title,
                                      const std::string& start);

// Shows the box above all others and gives it the foreground.
void ComeToFront(HWND window);
// A start's request (DropBox::Requested): its paths are handled as a drop,
// or the box comes to the front, its face lit up a few times; a paste takes
// the clipboard's files, a close ends the box as Exit does.
void HandleRequest(platform::InstanceRequest request);
// The files and folders named on the command line, the first drop, or what
// its one switch asks instead (/paste, /close).
extern std::vector<std::string> StartPaths;
extern platform::RequestKind StartKind;

// Drop reception (receive_drop.cpp): every dropped name, whole, then the
// handle released, then the action.
void ReceiveDrop(HDROP drop);
// The names a drop handle carries, whole and in UTF-8, in its order.
std::vector<std::string> DroppedNames(HDROP drop);

// The box as screen readers see it (accessible.cpp): the answer to
// WM_GETOBJECT, the standard object of the window under the box's own name
// and description.
LRESULT AnswerAccessibility(HWND window, WPARAM wparam, LPARAM lparam);
// The same for a control that is named otherwise than by its text (a field
// by its label): false, leaving the message to the control, when no object
// could be made.
bool AnswerAccessibilityNamed(HWND window, WPARAM wparam, LPARAM lparam, const std::string& name,
                              LRESULT& answer);

// The keyboard (box_keys.cpp): a key pressed or let go while the box has
// the focus, true when the box used it; and the menu asked for from the
// keyboard (the menu key, Shift+F10), opened at the box.
bool KeyPressed(WPARAM key);
bool KeyReleased(WPARAM key);
void MenuKeyPressed();

// The box's private messages.
// The worker has handed the window something to do (RunWindowTasks).
constexpr UINT kRunWindowTasksMessage = WM_APP + 1;
// Drops that came through the OLE drop target wait to be handed over.
constexpr UINT kDeliverDropMessage = WM_APP + 2;
// The box is on the screen: what the first paint did not need is set up. A
// timer, because its message comes only once no other waits, the first
// paint's included; a posted message would come before that paint.
constexpr UINT_PTR kLateStartTimer = 2;

// The OLE drop target (drop_target.cpp), through which the box sees drags
// hover; the drops themselves take the way of those of WM_DROPFILES.
void RegisterDropTarget(HWND window);
void RevokeDropTarget(HWND window);
// Runs the drops the target took, once their source is done with them.
void DeliverDrops();
// The target itself, as OLE calls it.
IDropTarget* BoxDropTarget();

// What the box shows (box_feedback.cpp): its look painted over the class
// background, its tip beside it. RefreshBox shows what Box says now and sets
// the timer for when to look again.
void RefreshBox();
void FeedbackTimer(UINT_PTR id);
// The pointer moved over the client area or the frame, or left the box.
void PointerMoved(bool over_frame);
void PointerLeft();
void PaintBox(HWND window);
void EndFeedback();
// The box moved or changed size: a tip that shows goes along, beside it.
void PlaceTip();
