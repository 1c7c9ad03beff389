// The product's version, shown by the About box and the command-line tool. The build reads
// it from this line too (cmake/SonarilProduct.cmake): the resources' version information and
// the packages' names follow it, so this is the one place to change it.
#pragma once

#define SONARIL_VERSION "1.0.3.0"

constexpr char kProductVersion[] = SONARIL_VERSION;
constexpr wchar_t kProductVersionWide[] = L"" SONARIL_VERSION;
