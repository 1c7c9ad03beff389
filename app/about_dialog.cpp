#include "app/about_dialog.h"

#include <cwchar>

#include "app/app_config.h"
#include "config/product_version.h"
#include "resources/resource_ids.h"

void CAboutDialog::OnInitDialog(HWND dialog, WPARAM, LPARAM) {
  const wchar_t* version = app_config != nullptr ? app_config->GetVersion() : kProductVersionWide;
  wchar_t text[64];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"Version %ls", version);
  SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text);
  SetDlgItemTextW(dialog, IDC_ABOUT_EDITION, L"64bit edition");
}
