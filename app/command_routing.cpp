#include "app/command_routing.h"

namespace {

constexpr int32_t kCancelCommand = 2;  // IDCANCEL, also the Esc key
constexpr int32_t kAboutCommand = 5014;
constexpr int32_t kHelpTopicsCommand = 5015;
constexpr int32_t kChooseLanguageCommand = 5017;
constexpr int32_t kExitCommand = 5019;

}  // namespace

DialogMessage RouteMainDialogMessage(uint32_t message) {
  switch (message) {
    case window_message::kClose: return DialogMessage::kClose;
    case window_message::kTimer: return DialogMessage::kTimer;
    default: return RouteModalDialogMessage(message);
  }
}

DialogMessage RouteModalDialogMessage(uint32_t message) {
  switch (message) {
    case window_message::kNotify: return DialogMessage::kNotify;
    case window_message::kInitDialog: return DialogMessage::kInitDialog;
    case window_message::kCommand: return DialogMessage::kCommand;
    case window_message::kDropFiles: return DialogMessage::kDropFiles;
    default: return DialogMessage::kUnhandled;
  }
}

AppCommand RouteAppCommand(int32_t id) {
  switch (id) {
    case kCancelCommand:
    case kExitCommand: return AppCommand::kExit;
    case kAboutCommand: return AppCommand::kAbout;
    case kHelpTopicsCommand: return AppCommand::kHelp;
    case kChooseLanguageCommand: return AppCommand::kChooseLanguage;
    default: return AppCommand::kIgnore;
  }
}
