// Loads every icon of the program at the sizes the windows ask for, checks the images each
// icon carries, and draws the 16x16 images to see that each shows its own glyph with alpha.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/resources/win32_test_support.h"

namespace {

enum class Cover { kClear, kBlended, kSolid };

struct Probe {
  int x, y;
  Cover cover;
};

struct IconCase {
  int id;
  const char* name;
  std::vector<int> sizes;  // images the icon must carry, in pixels
  std::vector<Probe> probes;  // on the 16x16 image; (0, 0) is the top left
};

const IconCase kIcons[] = {
    {IDI_APP_ICON, "App", {16, 32, 48, 256},
     {{8, 8, Cover::kSolid}, {2, 2, Cover::kSolid}, {13, 13, Cover::kSolid},
      {0, 0, Cover::kClear}, {15, 15, Cover::kClear}, {0, 8, Cover::kBlended}}},
    {IDI_PLAY, "Play", {16},
     {{5, 4, Cover::kSolid}, {5, 8, Cover::kSolid}, {8, 8, Cover::kSolid},
      {12, 3, Cover::kClear}, {1, 8, Cover::kClear}, {12, 12, Cover::kClear}}},
    {IDI_STOP, "Stop", {16},
     {{4, 4, Cover::kSolid}, {8, 8, Cover::kSolid}, {11, 8, Cover::kSolid},
      {1, 1, Cover::kClear}, {13, 13, Cover::kClear}, {2, 8, Cover::kClear}}},
    {IDI_PAUSE, "Pause", {16},
     {{4, 8, Cover::kSolid}, {11, 8, Cover::kSolid}, {4, 4, Cover::kSolid},
      {8, 8, Cover::kClear}, {7, 4, Cover::kClear}, {1, 1, Cover::kClear}}},
    {IDI_ZOOM_IN, "ZoomIn", {16},
     {{7, 4, Cover::kSolid}, {4, 7, Cover::kSolid}, {13, 13, Cover::kSolid},
      {2, 13, Cover::kClear}, {13, 2, Cover::kClear}, {5, 4, Cover::kClear}}},
    {IDI_ZOOM_OUT, "ZoomOut", {16},
     {{4, 7, Cover::kSolid}, {13, 13, Cover::kSolid},
      {7, 4, Cover::kClear}, {2, 13, Cover::kClear}, {13, 2, Cover::kClear}, {5, 4, Cover::kClear}}},
};

void PrintTo(const IconCase& c, std::ostream* out) { *out << c.name << " " << c.id; }

class IconTest : public testing::TestWithParam<IconCase> {};

struct IconSize {
  int width = 0;
  int height = 0;
};

IconSize SizeOf(HICON icon) {
  IconSize size;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return size;
  BITMAP bitmap{};
  if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap) != 0) {
    size.width = bitmap.bmWidth;
    size.height = bitmap.bmHeight;
  }
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return size;
}

HICON LoadIconAt(int id, int size) {
  return static_cast<HICON>(LoadImageW(sonaril_test::ResourceModule(), MAKEINTRESOURCEW(id),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

TEST_P(IconTest, LoadsAtTheSizesTheWindowsUse) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    HICON icon = LoadIconAt(GetParam().id, size);
    ASSERT_NE(icon, nullptr) << "error " << GetLastError();
    const IconSize loaded = SizeOf(icon);
    EXPECT_EQ(loaded.width, size);
    EXPECT_EQ(loaded.height, size);
    DestroyIcon(icon);
  }
}

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colors;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct IconImage {
  int size;
  int bit_count;
};

// The images listed in the icon's directory resource; empty when it is missing or damaged.
std::vector<IconImage> ImagesOf(int id) {
  std::vector<IconImage> images;
  HMODULE module = sonaril_test::ResourceModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  if (found == nullptr) return images;
  const DWORD bytes = SizeofResource(module, found);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  if (data == nullptr || bytes < sizeof(GroupIconHeader)) return images;
  const auto* header = reinterpret_cast<const GroupIconHeader*>(data);
  if (sizeof(GroupIconHeader) + size_t{header->count} * sizeof(GroupIconEntry) > bytes) return images;
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(data + sizeof(GroupIconHeader));
  for (WORD i = 0; i < header->count; ++i) {
    images.push_back({entries[i].width == 0 ? 256 : entries[i].width, entries[i].bit_count});
  }
  return images;
}

TEST_P(IconTest, CarriesSquareImagesWithAlpha) {
  const std::vector<IconImage> images = ImagesOf(GetParam().id);
  ASSERT_FALSE(images.empty());
  for (const IconImage& image : images) {
    EXPECT_EQ(image.bit_count, 32) << "image of " << image.size;
  }
  for (int size : GetParam().sizes) {
    EXPECT_TRUE(std::any_of(images.begin(), images.end(),
                            [size](const IconImage& image) { return image.size == size; }))
        << "no image of " << size << " pixels";
  }
}

// The largest images load whole too (the 256-pixel one is stored compressed).
TEST(AppIcon, LoadsAtLargeSizes) {
  for (int size : {48, 256}) {
    SCOPED_TRACE(size);
    HICON icon = LoadIconAt(IDI_APP_ICON, size);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SizeOf(icon).width, size);
    DestroyIcon(icon);
  }
}

// The 16x16 image drawn over a filled background, as 0x00RRGGBB values, top row first.
std::vector<uint32_t> DrawOver(HICON icon, COLORREF background) {
  std::vector<uint32_t> pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc != nullptr && bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* words = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < 16 * 16; ++i) pixels.push_back(words[i] & 0x00FFFFFF);
    SelectObject(dc, previous);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (dc != nullptr) DeleteDC(dc);
  return pixels;
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 3) {
      return false;
    }
  }
  return true;
}

// Over two different backgrounds: a solid pixel looks the same on both, a clear one shows
// each background, and a blended one shows neither and differs between them.
TEST_P(IconTest, SixteenPixelImageShowsItsGlyph) {
  HICON icon = LoadIconAt(GetParam().id, 16);
  ASSERT_NE(icon, nullptr);
  const uint32_t magenta = 0xFF00FF;
  const uint32_t green = 0x00FF00;
  const std::vector<uint32_t> over_magenta = DrawOver(icon, RGB(0xFF, 0x00, 0xFF));
  const std::vector<uint32_t> over_green = DrawOver(icon, RGB(0x00, 0xFF, 0x00));
  DestroyIcon(icon);
  ASSERT_EQ(over_magenta.size(), 256u);
  ASSERT_EQ(over_green.size(), 256u);

  for (const Probe& probe : GetParam().probes) {
    SCOPED_TRACE(testing::Message() << "pixel " << probe.x << "," << probe.y);
    const uint32_t on_magenta = over_magenta[probe.y * 16 + probe.x];
    const uint32_t on_green = over_green[probe.y * 16 + probe.x];
    switch (probe.cover) {
      case Cover::kClear:
        EXPECT_EQ(on_magenta, magenta);
        EXPECT_EQ(on_green, green);
        break;
      case Cover::kSolid:
        EXPECT_TRUE(Near(on_magenta, on_green)) << std::hex << on_magenta << " " << on_green;
        EXPECT_FALSE(Near(on_magenta, magenta));
        break;
      case Cover::kBlended:
        EXPECT_FALSE(Near(on_magenta, magenta));
        EXPECT_FALSE(Near(on_green, green));
        EXPECT_FALSE(Near(on_magenta, on_green));
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllIcons, IconTest, testing::ValuesIn(kIcons),
                         [](const testing::TestParamInfo<IconCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
