// The product's version, shown by the About box and the command-line tool.
#pragma once

constexpr char kProductVersion[] = "1.0.3.0";
constexpr wchar_t kProductVersionWide[] = L"1.0.3.0";
