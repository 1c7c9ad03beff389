// Creates every dialog template of both languages for real and compares the window and each
// control with the layout the program's code relies on: ids, classes, styles, texts, font and
// rectangles in dialog units.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/resources/win32_test_support.h"

namespace {

using sonaril_test::CHiddenDialog;
using sonaril_test::ClassName;
using sonaril_test::Utf16;
using sonaril_test::WindowText;

struct ControlKind {
  const wchar_t* window_class;
  DWORD type_mask;  // the style bits that make the control's type
  DWORD type;
  DWORD required;   // further style bits that must be set
  DWORD forbidden;  // style bits that must be clear
  bool framed = false;  // a sunken border (WS_BORDER, which some controls turn into WS_EX_CLIENTEDGE)
};

const ControlKind kGroupBox{L"Button", BS_TYPEMASK, BS_GROUPBOX, 0, WS_TABSTOP};
const ControlKind kLabel{L"Static", SS_TYPEMASK, SS_LEFT, 0, 0};
const ControlKind kPlainLabel{L"Static", SS_TYPEMASK, SS_LEFT, SS_NOPREFIX, 0};
const ControlKind kIconImage{L"Static", SS_TYPEMASK, SS_ICON, SS_REALSIZECONTROL, 0};
// The waveform view is a child of this frame; it must not paint over it.
const ControlKind kViewFrame{L"Static", SS_TYPEMASK, SS_LEFT, SS_SUNKEN | WS_CLIPCHILDREN, 0};
const ControlKind kPushButton{L"Button", BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, BS_ICON};
const ControlKind kDefaultButton{L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, WS_TABSTOP, BS_ICON};
const ControlKind kIconButton{L"Button", BS_TYPEMASK, BS_PUSHBUTTON, BS_ICON | WS_TABSTOP, 0};
// Not automatic: only the playback code decides which transport button shows as pressed.
const ControlKind kTransportButton{L"Button", BS_TYPEMASK, BS_RADIOBUTTON,
                                   BS_PUSHLIKE | BS_ICON | WS_TABSTOP, 0};
const ControlKind kManualCheckBox{L"Button", BS_TYPEMASK, BS_CHECKBOX, WS_TABSTOP, 0};
const ControlKind kCheckBox{L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX, WS_TABSTOP, 0};
// Unsorted: an entry's position carries meaning (the language list's position is the language).
const ControlKind kDropDownList{L"ComboBox", 0x3, CBS_DROPDOWNLIST, WS_TABSTOP, CBS_SORT};
// Negative numbers are valid input, so no ES_NUMBER.
const ControlKind kEdit{L"Edit", 0, 0, ES_AUTOHSCROLL | WS_TABSTOP,
                        ES_READONLY | ES_NUMBER | ES_MULTILINE, true};
const ControlKind kReadOnlyEdit{L"Edit", 0, 0, ES_READONLY | ES_AUTOHSCROLL, ES_MULTILINE, true};
// Several rows may be selected, and row i always shows element i: no sorting.
const ControlKind kReportList{L"SysListView32", LVS_TYPEMASK, LVS_REPORT,
                              LVS_SHOWSELALWAYS | WS_TABSTOP,
                              LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING, true};

struct ControlRow {
  int id;
  const ControlKind* kind;
  const char* english;  // UTF-8; nullptr when the control shows an image instead of text
  const char* japanese;
  int x, y, w, h;  // dialog units
};

// One row per control, in template (tab) order.
const std::vector<ControlRow> kMainControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 540, 260},
    {IDC_WAVEFORM_FRAME, &kViewFrame, u8"", u8"", 10, 20, 530, 210},
    {IDC_STOP, &kTransportButton, u8"STOP", u8"STOP", 15, 240, 30, 18},
    {IDC_PLAY, &kTransportButton, u8"PLAY", u8"PLAY", 45, 240, 30, 18},
    {IDC_PAUSE, &kTransportButton, u8"PAUSE", u8"PAUSE", 75, 240, 30, 18},
    {IDC_REPEAT_PLAY, &kManualCheckBox, u8"Repeat Play", u8"繰り返し再生", 120, 242, 100, 12},
    {IDC_OUTPUT_DEVICE, &kDropDownList, u8"", u8"", 350, 243, 140, 80},
    {IDC_ZOOM_IN, &kIconButton, u8"ZOOM IN", u8"ZOOM IN", 495, 240, 18, 18},
    {IDC_ZOOM_OUT, &kIconButton, u8"ZOOM OUT", u8"ZOOM OUT", 515, 240, 18, 18},
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 270, 160, 170},
    {IDC_STATIC, &kLabel, u8"Frequency", u8"サンプリング周波数", 10, 285, 65, 12},
    {IDC_SAMPLING_FREQUENCY, &kDropDownList, u8"", u8"", 80, 283, 80, 80},
    {IDC_STATIC, &kLabel, u8"Time (ms)", u8"時間 (ms)", 10, 305, 65, 12},
    {IDC_PATTERN_TOTAL, &kReadOnlyEdit, u8"", u8"", 80, 303, 80, 14},
    {IDC_STATIC, &kLabel, u8"Repeat", u8"繰り返し回数", 10, 325, 65, 12},
    {IDC_REPEAT, &kEdit, u8"", u8"", 80, 323, 80, 14},
    {IDC_LOW_PASS_FILTER, &kCheckBox, u8"Low Pass Filter", u8"ローパスフィルター", 80, 345, 80, 12},
    {IDC_CREATE_TONE, &kPushButton, u8"Create Tone", u8"トーン生成", 80, 395, 80, 18},
    {IDC_SAVE_FILE, &kPushButton, u8"Save File", u8"ファイル保存", 80, 415, 80, 18},
    {IDC_STATIC, &kGroupBox, u8"Ring Pattern", u8"鳴動パターン", 170, 270, 160, 170},
    {IDC_PATTERN_LIST, &kReportList, u8"", u8"", 175, 285, 115, 145},
    {IDC_PATTERN_ADD, &kPushButton, u8"Add", u8"追加", 295, 285, 30, 18},
    {IDC_PATTERN_MODIFY, &kPushButton, u8"Modify", u8"変更", 295, 305, 30, 18},
    {IDC_PATTERN_DELETE, &kPushButton, u8"Delete", u8"削除", 295, 325, 30, 18},
    {IDC_PATTERN_UP, &kPushButton, u8"Up", u8"▲", 295, 345, 30, 18},
    {IDC_PATTERN_DOWN, &kPushButton, u8"Down", u8"▼", 295, 365, 30, 18},
    {IDC_STATIC, &kGroupBox, u8"Tone", u8"音色", 335, 270, 210, 170},
    {IDC_TONE_LIST, &kReportList, u8"", u8"", 340, 285, 165, 145},
    {IDC_TONE_ADD, &kPushButton, u8"Add", u8"追加", 510, 285, 30, 18},
    {IDC_TONE_MODIFY, &kPushButton, u8"Modify", u8"変更", 510, 305, 30, 18},
    {IDC_TONE_DELETE, &kPushButton, u8"Delete", u8"削除", 510, 325, 30, 18},
};

const std::vector<ControlRow> kLanguageControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 120, 40},
    {IDC_LANGUAGE_LIST, &kDropDownList, u8"", u8"", 10, 20, 110, 80},
    {IDOK, &kPushButton, u8"OK", u8"OK", 20, 50, 50, 14},
    {IDCANCEL, &kDefaultButton, u8"Cancel", u8"キャンセル", 75, 50, 50, 14},
};

const std::vector<ControlRow> kAboutControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 230, 90},
    {IDC_STATIC, &kIconImage, nullptr, nullptr, 11, 17, 20, 20},
    {IDC_STATIC, &kPlainLabel, u8"Sonaril - Tone Generator", u8"Sonaril - トーン生成ツール", 40, 15, 129, 8},
    {IDC_ABOUT_EDITION, &kPlainLabel, u8"", u8"", 40, 28, 129, 8},
    {IDC_ABOUT_VERSION, &kPlainLabel, u8"", u8"", 40, 41, 129, 8},
    {IDOK, &kDefaultButton, u8"OK", u8"OK", 178, 15, 50, 14},
};

const std::vector<ControlRow> kPatternEditControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 220, 170},
    {IDC_STATIC, &kLabel, u8"ON/OFF", u8"ON/OFF", 10, 22, 65, 12},
    {IDC_STEP_KIND, &kDropDownList, u8"", u8"", 80, 20, 120, 80},
    {IDC_STATIC, &kLabel, u8"Time(ms)", u8"時間(ms)", 10, 37, 65, 12},
    {IDC_STEP_TIME, &kEdit, u8"", u8"", 80, 35, 120, 14},
    {IDC_STEP_FADE, &kCheckBox, u8"Fade In/Fade Out", u8"フェードイン/フェードアウト", 80, 52, 160, 12},
    {IDOK, &kPushButton, u8"OK", u8"OK", 118, 180, 50, 14},
    {IDCANCEL, &kDefaultButton, u8"Cancel", u8"キャンセル", 173, 180, 50, 14},
};

const std::vector<ControlRow> kToneEditControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 220, 170},
    {IDC_STATIC, &kLabel, u8"Type", u8"波形種別", 10, 22, 65, 12},
    {IDC_TONE_TYPE, &kDropDownList, u8"", u8"", 80, 20, 120, 80},
    {IDC_STATIC, &kLabel, u8"Frequency(Hz)", u8"周波数(Hz)", 10, 39, 65, 12},
    {IDC_TONE_FREQUENCY, &kEdit, u8"", u8"", 80, 37, 120, 14},
    {IDC_STATIC, &kLabel, u8"Phase", u8"位相", 10, 56, 65, 12},
    {IDC_TONE_PHASE, &kEdit, u8"", u8"", 80, 54, 120, 14},
    {IDC_STATIC, &kLabel, u8"Start Time(ms)", u8"開始時間(ms)", 10, 73, 65, 12},
    {IDC_TONE_START_TIME, &kEdit, u8"", u8"", 80, 71, 120, 14},
    {IDC_STATIC, &kLabel, u8"End Time(ms)", u8"終了時間(ms)", 10, 90, 65, 12},
    {IDC_TONE_END_TIME, &kEdit, u8"", u8"", 80, 88, 120, 14},
    {IDC_STATIC, &kLabel, u8"Output Level(%)", u8"出力レベル(%)", 10, 107, 65, 12},
    {IDC_TONE_LEVEL, &kEdit, u8"", u8"", 80, 105, 120, 14},
    {IDOK, &kPushButton, u8"OK", u8"OK", 118, 180, 50, 14},
    {IDCANCEL, &kDefaultButton, u8"Cancel", u8"キャンセル", 173, 180, 50, 14},
};

const std::vector<ControlRow> kExportControls = {
    {IDC_STATIC, &kGroupBox, u8"", u8"", 5, 5, 240, 70},
    {IDC_STATIC, &kLabel, u8"Finename", u8"ファイル名", 15, 20, 32, 12},
    {IDC_EXPORT_FILE_NAME, &kEdit, u8"", u8"", 53, 18, 165, 14},
    {IDC_EXPORT_BROWSE, &kPushButton, u8"...", u8"...", 220, 17, 16, 16},
    {IDC_STATIC, &kLabel, u8"Format", u8"保存形式", 15, 40, 32, 12},
    {IDC_EXPORT_FORMAT, &kDropDownList, u8"", u8"", 53, 38, 165, 80},
    {IDOK, &kPushButton, u8"OK", u8"OK", 140, 80, 50, 14},
    {IDCANCEL, &kDefaultButton, u8"Cancel", u8"キャンセル", 191, 80, 50, 14},
};

const std::vector<ControlRow> kToneStringControls = {
    {IDC_STATIC, &kLabel, u8"Current setting", u8"現在の設定", 7, 9, 60, 12},
    {IDC_TONE_STRING_CURRENT, &kReadOnlyEdit, u8"", u8"", 70, 7, 223, 14},
    {IDC_STATIC, &kLabel, u8"New tone string", u8"新しいトーン文字列", 7, 30, 60, 12},
    {IDC_TONE_STRING_NEW, &kEdit, u8"", u8"", 70, 28, 223, 14},
    {IDC_TONE_STRING_ERROR, &kPlainLabel, u8"", u8"", 70, 46, 223, 30},
    {IDC_STATIC, &kPlainLabel, u8"e.g. 440+480/2000,0/4000", u8"例: 440+480/2000,0/4000", 7, 86, 175, 12},
    {IDOK, &kDefaultButton, u8"OK", u8"OK", 189, 84, 50, 14},
    {IDCANCEL, &kPushButton, u8"Cancel", u8"キャンセル", 243, 84, 50, 14},
};

constexpr int kCentred = -1;

struct DialogLayout {
  const char* name;
  int english_id;
  int japanese_id;
  const char* english_caption;
  const char* japanese_caption;
  int x, y;           // dialog units from the screen origin, or kCentred
  int width, height;  // client area, dialog units
  DWORD frame_buttons;  // of WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME
  DWORD app_window;     // WS_EX_APPWINDOW or 0
  const std::vector<ControlRow>* controls;
};

const DialogLayout kDialogs[] = {
    {"Main", IDD_MAIN_EN, IDD_MAIN_JA, u8"Sonaril - Tone Generator", u8"Sonaril - トーン生成ツール",
     kCentred, kCentred, 550, 445, WS_MINIMIZEBOX, WS_EX_APPWINDOW, &kMainControls},
    {"ChooseLanguage", IDD_CHOOSE_LANGUAGE_EN, IDD_CHOOSE_LANGUAGE_JA, u8"Choose Language",
     u8"言語設定", 150, 100, 130, 70, 0, 0, &kLanguageControls},
    {"About", IDD_ABOUT_EN, IDD_ABOUT_JA, u8"About Sonaril", u8"Sonarilについて",
     100, 100, 240, 100, 0, 0, &kAboutControls},
    {"PatternEdit", IDD_PATTERN_EDIT_EN, IDD_PATTERN_EDIT_JA, u8"Ring Pattern Setting",
     u8"鳴動パターン設定", kCentred, kCentred, 230, 200, 0, 0, &kPatternEditControls},
    {"ToneEdit", IDD_TONE_EDIT_EN, IDD_TONE_EDIT_JA, u8"Tone Setting", u8"音色設定",
     kCentred, kCentred, 230, 200, 0, 0, &kToneEditControls},
    {"Export", IDD_EXPORT_EN, IDD_EXPORT_JA, u8"Save Tone File", u8"トーンファイルの保存",
     kCentred, kCentred, 250, 100, 0, 0, &kExportControls},
    {"ToneString", IDD_TONE_STRING_EN, IDD_TONE_STRING_JA, u8"Tone String", u8"トーン文字列",
     kCentred, kCentred, 300, 105, 0, 0, &kToneStringControls},
};

struct DialogCase {
  const DialogLayout* layout;
  bool japanese;
  int template_id() const { return japanese ? layout->japanese_id : layout->english_id; }
  const char* caption() const {
    return japanese ? layout->japanese_caption : layout->english_caption;
  }
  const char* text(const ControlRow& row) const { return japanese ? row.japanese : row.english; }
  const char* font() const { return japanese ? u8"ＭＳ Ｐゴシック" : u8"MS Shell Dlg"; }
};

void PrintTo(const DialogCase& c, std::ostream* out) {
  *out << c.layout->name << (c.japanese ? " Japanese " : " English ") << c.template_id();
}

std::vector<DialogCase> AllDialogCases() {
  std::vector<DialogCase> cases;
  for (const DialogLayout& layout : kDialogs) {
    cases.push_back({&layout, false});
    cases.push_back({&layout, true});
  }
  return cases;
}

// x, y, width and height in pixels; dialog units are converted the way the dialog manager
// creates controls (position and size separately).
RECT PixelsOf(HWND dialog, int x, int y, int w, int h) {
  RECT rect{x, y, w, h};
  MapDialogRect(dialog, &rect);
  return rect;
}

RECT PlacementInDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return RECT{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<HWND> ChildrenInOrder(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

class DialogTemplateTest : public testing::TestWithParam<DialogCase> {
 protected:
  static void SetUpTestSuite() { sonaril_test::RegisterCommonControls(); }
};

TEST_P(DialogTemplateTest, CreatesWithCaptionFrameAndFont) {
  const DialogCase& c = GetParam();
  CHiddenDialog dialog(c.template_id());
  ASSERT_NE(dialog.window(), nullptr) << "error " << GetLastError();

  EXPECT_EQ(WindowText(dialog.window()), Utf16(c.caption()));
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog.window(), GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(dialog.window(), GWL_EXSTYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), c.layout->frame_buttons);
  EXPECT_EQ(style & WS_VISIBLE, 0u) << "shown only when the code runs it";
  EXPECT_NE(ex_style & WS_EX_DLGMODALFRAME, 0u);
  EXPECT_EQ(ex_style & WS_EX_APPWINDOW, c.layout->app_window);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog.window(), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW log_font{};
  ASSERT_NE(GetObjectW(font, sizeof(log_font), &log_font), 0);
  EXPECT_EQ(std::wstring(log_font.lfFaceName), Utf16(c.font()));
  HDC screen = GetDC(nullptr);
  const int nine_points = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(log_font.lfHeight, nine_points);
}

TEST_P(DialogTemplateTest, HasItsSizeAndPlace) {
  const DialogCase& c = GetParam();
  CHiddenDialog dialog(c.template_id());
  ASSERT_NE(dialog.window(), nullptr);

  RECT client{};
  GetClientRect(dialog.window(), &client);
  const RECT size = PixelsOf(dialog.window(), 0, 0, c.layout->width, c.layout->height);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);

  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog.window(), GWL_STYLE));
  if (c.layout->x == kCentred) {
    EXPECT_NE(style & DS_CENTER, 0u);
  } else {
    EXPECT_EQ(style & DS_CENTER, 0u);
    POINT origin{0, 0};
    ClientToScreen(dialog.window(), &origin);
    const RECT expected = PixelsOf(dialog.window(), c.layout->x, c.layout->y, 0, 0);
    EXPECT_EQ(origin.x, expected.left);
    EXPECT_EQ(origin.y, expected.top);
  }
}

TEST_P(DialogTemplateTest, ControlsMatchTheLayoutRowByRow) {
  const DialogCase& c = GetParam();
  CHiddenDialog dialog(c.template_id());
  ASSERT_NE(dialog.window(), nullptr);
  const std::vector<ControlRow>& rows = *c.layout->controls;
  const std::vector<HWND> children = ChildrenInOrder(dialog.window());
  ASSERT_EQ(children.size(), rows.size());
  const std::vector<sonaril_test::TemplateItem> items = sonaril_test::ReadTemplateItems(c.template_id());
  EXPECT_EQ(items.size(), rows.size());

  for (size_t i = 0; i < rows.size(); ++i) {
    const ControlRow& row = rows[i];
    const HWND control = children[i];
    SCOPED_TRACE(testing::Message() << "control " << i << " (id " << row.id << ")");
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));

    EXPECT_EQ(GetDlgCtrlID(control), row.id);
    EXPECT_EQ(_wcsicmp(ClassName(control).c_str(), row.kind->window_class), 0)
        << "class " << testing::PrintToString(ClassName(control));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
    EXPECT_EQ(style & row.kind->type_mask, row.kind->type);
    EXPECT_EQ(style & row.kind->required, row.kind->required);
    EXPECT_EQ(style & row.kind->forbidden, 0u);
    if (row.kind->framed) {
      const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
      EXPECT_TRUE((style & WS_BORDER) != 0 || (ex_style & WS_EX_CLIENTEDGE) != 0) << "no border";
    }
    if (c.text(row) != nullptr) {
      EXPECT_EQ(WindowText(control), Utf16(c.text(row)));
    } else {
      EXPECT_NE(SendMessageW(control, STM_GETICON, 0, 0), 0) << "the template's icon is missing";
    }

    const RECT expected = PixelsOf(dialog.window(), row.x, row.y, row.w, row.h);
    const RECT actual = PlacementInDialog(dialog.window(), control);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right) << "width";
    if (row.kind == &kDropDownList) {
      // A closed combo box is one line high, and the control drops WS_VSCROLL from its own
      // style: the open list's height and scroll bar are read from the template itself.
      ASSERT_LT(i, items.size());
      EXPECT_EQ(items[i].h, row.h) << "open height";
      EXPECT_NE(items[i].style & WS_VSCROLL, 0u) << "list scroll bar";
    } else {
      EXPECT_EQ(actual.bottom, expected.bottom) << "height";
    }
  }
}

// GetDlgItem finds the one control the code means: every addressed id occurs once.
TEST_P(DialogTemplateTest, AddressedIdsAreUnique) {
  const DialogCase& c = GetParam();
  CHiddenDialog dialog(c.template_id());
  ASSERT_NE(dialog.window(), nullptr);
  const std::vector<HWND> children = ChildrenInOrder(dialog.window());
  for (const ControlRow& row : *c.layout->controls) {
    if (row.id == IDC_STATIC) continue;
    const auto count = std::count_if(children.begin(), children.end(),
                                     [&row](HWND child) { return GetDlgCtrlID(child) == row.id; });
    EXPECT_EQ(count, 1) << "id " << row.id;
  }
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, DialogTemplateTest, testing::ValuesIn(AllDialogCases()),
                         [](const testing::TestParamInfo<DialogCase>& info) {
                           return std::string(info.param.layout->name) +
                                  (info.param.japanese ? "_Japanese" : "_English");
                         });

// The main templates name their menu, so the window has it without any code.
TEST(MainDialogMenu, EachLanguageCarriesItsOwnMenu) {
  sonaril_test::RegisterCommonControls();
  const struct {
    int template_id;
    const char* popups[3];
  } cases[] = {
      {IDD_MAIN_EN, {u8"&File", u8"&Edit", u8"&Help"}},
      {IDD_MAIN_JA, {u8"ファイル(&F)", u8"編集(&E)", u8"ヘルプ(&H)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.template_id);
    CHiddenDialog dialog(c.template_id);
    ASSERT_NE(dialog.window(), nullptr);
    HMENU menu = GetMenu(dialog.window());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int position = 0; position < 3; ++position) {
      wchar_t text[64] = {};
      GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
      EXPECT_EQ(std::wstring(text), Utf16(c.popups[position]));
    }
  }
}

}  // namespace
