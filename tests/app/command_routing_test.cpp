// Which framework operation each message and menu command reaches.
#include "app/command_routing.h"

#include <gtest/gtest.h>

namespace {

TEST(MainDialogMessages, EachListedMessageHasItsOperationAndOthersAreUnhandled) {
  struct Case {
    uint32_t message;
    DialogMessage main;
    DialogMessage modal;
  };
  const Case cases[] = {
      {0x0010, DialogMessage::kClose, DialogMessage::kUnhandled},  // closing a modal dialog arrives as IDCANCEL
      {0x004E, DialogMessage::kNotify, DialogMessage::kNotify},
      {0x0110, DialogMessage::kInitDialog, DialogMessage::kInitDialog},
      {0x0111, DialogMessage::kCommand, DialogMessage::kCommand},
      {0x0113, DialogMessage::kTimer, DialogMessage::kUnhandled},
      {0x0233, DialogMessage::kDropFiles, DialogMessage::kDropFiles},
      {0x0000, DialogMessage::kUnhandled, DialogMessage::kUnhandled},
      {0x000F, DialogMessage::kUnhandled, DialogMessage::kUnhandled},  // WM_PAINT
      {0x0218, DialogMessage::kUnhandled, DialogMessage::kUnhandled},  // WM_POWERBROADCAST: the program's own
      {0x0405, DialogMessage::kUnhandled, DialogMessage::kUnhandled},  // WM_USER + 5: the program's own
      {0xFFFFFFFF, DialogMessage::kUnhandled, DialogMessage::kUnhandled},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RouteMainDialogMessage(c.message), c.main) << std::hex << c.message;
    EXPECT_EQ(RouteModalDialogMessage(c.message), c.modal) << std::hex << c.message;
  }
}

TEST(AppCommands, MenuAndEscRouteAndEverythingElseIsIgnored) {
  struct Case {
    int32_t id;
    AppCommand command;
  };
  const Case cases[] = {
      {2, AppCommand::kExit},      {5019, AppCommand::kExit},   {5014, AppCommand::kAbout},
      {5015, AppCommand::kHelp},   {5017, AppCommand::kChooseLanguage},
      {1, AppCommand::kIgnore},    {5001, AppCommand::kIgnore}, {5002, AppCommand::kIgnore},
      {5004, AppCommand::kIgnore}, {5005, AppCommand::kIgnore}, {5016, AppCommand::kIgnore},
      {5018, AppCommand::kIgnore}, {0, AppCommand::kIgnore},    {-1, AppCommand::kIgnore},
      {20123, AppCommand::kIgnore}, {65535, AppCommand::kIgnore},
  };
  for (const Case& c : cases) EXPECT_EQ(RouteAppCommand(c.id), c.command) << c.id;
}

}  // namespace
