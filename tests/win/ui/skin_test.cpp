// Skin helpers on real files: the program folder, loading skins (good and bad files), cutting.
#include "ui/skin.h"

#include <gtest/gtest.h>

#include <fstream>

#include "harness/screen_harness.h"

namespace z4 {
namespace {

TEST(SkinTest, ProgramFolderIsTheExecutablesFolderWithBackslash) {
  const std::wstring folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_EQ(std::filesystem::path(folder).parent_path(), test::ExeFolder());
  EXPECT_EQ(SkinPath(L"Restore_Normal.bmp"), folder + L"skins\\Restore_Normal.bmp");
}

TEST(SkinTest, LoadsEachBitmapSkinAtItsSize) {
  for (const wchar_t* name : {L"Restore_Normal.bmp", L"Restore_Over.bmp", L"Restore_Down.bmp"}) {
    SkinBitmap bitmap;
    EXPECT_TRUE(LoadSkinBitmap(SkinPath(name), bitmap));
    const SIZE size = BitmapSize(bitmap.get());
    EXPECT_EQ(size.cx, 364);
    EXPECT_EQ(size.cy, 212);
  }
}

TEST(SkinTest, BadFilesLeaveTheHolderWithoutBitmap) {
  std::string bmp;
  {
    std::ifstream in(test::ExeFolder() / "skins" / "Restore_Normal.bmp", std::ios::binary);
    bmp.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string empty;
  const std::string garbage = "these bytes are not a picture of any kind";
  const std::string truncated = bmp.substr(0, 60);
  std::string bigHeader = bmp;  // declares a picture far larger than the file
  bigHeader[18] = '\x7f';
  bigHeader[19] = '\x7f';
  bigHeader[20] = '\x7f';
  const struct {
    const char* what;
    const std::string* bytes;  // null: no file at all
  } cases[] = {
      {"missing", nullptr},
      {"empty", &empty},
      {"not an image", &garbage},
      {"truncated bitmap", &truncated},
      {"header larger than the file", &bigHeader},
  };
  const auto path = test::ExeFolder() / "bad_skin.bmp";
  for (const auto& c : cases) {
    std::filesystem::remove(path);
    if (c.bytes) std::ofstream(path, std::ios::binary) << *c.bytes;
    SkinBitmap holder;
    ASSERT_TRUE(LoadSkinBitmap(SkinPath(L"Restore_Over.bmp"), holder));
    EXPECT_FALSE(LoadSkinBitmap(path.wstring(), holder)) << c.what;
    EXPECT_FALSE(holder) << c.what;
  }
  std::filesystem::remove(path);
}

TEST(SkinTest, CutCopiesTheRectanglesPixelsAndSkipsAnEmptySource) {
  SkinBitmap source;
  ASSERT_TRUE(LoadSkinBitmap(SkinPath(L"Restore_Over.bmp"), source));
  const test::Image whole = test::LoadSkinImage(L"Restore_Over.bmp");
  HDC screen = ::GetDC(nullptr);
  SkinBitmap cut;
  const RECT rect{194, 174, 271, 201};
  CutBitmap(cut, screen, source, rect);
  ASSERT_TRUE(cut);
  const SIZE size = BitmapSize(cut.get());
  EXPECT_EQ(size.cx, 77);
  EXPECT_EQ(size.cy, 27);

  HDC mem = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(mem, cut.get());
  int different = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      const COLORREF c = ::GetPixel(mem, x, y);
      const std::uint32_t rgb = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      if (rgb != whole.At(rect.left + x, rect.top + y)) ++different;
    }
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  EXPECT_EQ(different, 0);

  const HBITMAP before = cut.get();
  CutBitmap(cut, screen, SkinBitmap(), rect);
  EXPECT_EQ(cut.get(), before);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace z4
