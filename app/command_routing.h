// Which operation of the window framework a message or a menu command reaches.
// The message numbers are the platform's; they are written out here so that
// the routing can be checked without a window system.
#pragma once

#include <cstdint>

namespace window_message {
constexpr uint32_t kClose = 0x0010;       // WM_CLOSE
constexpr uint32_t kNotify = 0x004E;      // WM_NOTIFY
constexpr uint32_t kInitDialog = 0x0110;  // WM_INITDIALOG
constexpr uint32_t kCommand = 0x0111;     // WM_COMMAND
constexpr uint32_t kTimer = 0x0113;       // WM_TIMER
constexpr uint32_t kDropFiles = 0x0233;   // WM_DROPFILES
}  // namespace window_message

enum class DialogMessage { kUnhandled, kClose, kNotify, kInitDialog, kCommand, kTimer, kDropFiles };

// The main window's table: every message above.
DialogMessage RouteMainDialogMessage(uint32_t message);
// A modal dialog's table: notifications, set-up, commands and dropped files;
// closing arrives as the Cancel command instead.
DialogMessage RouteModalDialogMessage(uint32_t message);

enum class AppCommand { kIgnore, kExit, kAbout, kHelp, kChooseLanguage };

// The main window's menu and Esc: IDCANCEL (2) and Exit (5019) end the program,
// 5014 About, 5015 Help Topics, 5017 Choose Language; anything else is ignored.
AppCommand RouteAppCommand(int32_t id);
