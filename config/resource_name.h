// Integer resource ids in the form the platform's resource calls take as a name.
#pragma once

#include <cstdint>

// The id carried in the pointer itself, exactly what MAKEINTRESOURCEW makes on
// Windows, so the result goes straight to LoadImageW or LoadMenuW. It points at
// nothing: never read through it.
inline const wchar_t* MakeResourceName(uint16_t id) {
  return reinterpret_cast<const wchar_t*>(static_cast<uintptr_t>(id));
}
