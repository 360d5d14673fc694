// The tray menu as the tray code shows it: a CKorvuMenu tracked for a hidden owner window whose
// default processing routes the owner-draw requests, driven with the real mouse.
#include "ui/korvu_menu.h"

#include <gtest/gtest.h>

#include <thread>

#include "fw/window.h"
#include "res/resource_ids.h"
#include "harness/screen_harness.h"

namespace z4 {
namespace {

using test::Image;

constexpr UINT kConfig = 0x6000;
constexpr UINT kExit = 0x6001;
constexpr std::uint32_t kIconColumn = 0xDBD8D1, kBack = 0xF9F8F7, kSelection = 0xB1B9CF;
// Rim colours of the icons as tools/art/make_icons.py draws them.
constexpr std::uint32_t kGreyRim = 0x969696, kBlueRim = 0x3C96FF, kRedRim = 0xE63C3C;

// Like the task window: hidden, no entry of its own for the owner-draw requests.
class OwnerWindow : public fw::Window {
 public:
  UINT lastCommand = 0;

 protected:
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (fw::Menu::RouteOwnerDraw(msg, wParam, lParam, result)) return result;
    if (msg == WM_COMMAND) lastCommand = LOWORD(wParam);
    return fw::Window::DefaultProc(msg, wParam, lParam);
  }
};

struct Entry {
  RECT rc;
  RECT Icon(int inset) const {
    return {rc.left + inset, rc.top + inset, rc.left + inset + 16, rc.top + inset + 16};
  }
  RECT Text() const { return {rc.left + 33, rc.top + 2, rc.right, rc.bottom - 2}; }
};

void ExpectNormal(const Image& shot, const Entry& e, std::uint32_t rim, const char* what) {
  EXPECT_EQ(shot.At(e.rc.left + 22, e.rc.top + 1), kIconColumn) << what;
  EXPECT_EQ(shot.At(e.rc.left + 1, e.rc.bottom - 1), kIconColumn) << what;
  EXPECT_EQ(shot.At(e.rc.right - 2, e.rc.top + 1), kBack) << what;
  EXPECT_GT(test::CountColor(shot, e.Icon(3), rim, 12), 10) << what;
  EXPECT_GT(test::CountColor(shot, e.Text(), 0x000000, 40), 10) << what << ": black text";
}

void ExpectHighlighted(const Image& shot, const Entry& e, std::uint32_t rim, const char* what) {
  for (POINT corner : {POINT{e.rc.left, e.rc.top}, POINT{e.rc.right - 1, e.rc.bottom - 1}})
    EXPECT_EQ(shot.At(corner.x, corner.y), 0x000000u) << what << ": black frame";
  EXPECT_EQ(shot.At(e.rc.left + 1, e.rc.top + 1), kSelection) << what;
  EXPECT_EQ(shot.At(e.rc.left + 22, e.rc.top + 1), kSelection) << what;
  EXPECT_GT(test::CountColor(shot, e.Icon(2), rim, 12), 10) << what;
  EXPECT_GT(test::CountColor(shot, e.Text(), 0x003C91, 40), 10) << what << ": dark blue text";
}

TEST(KorvuMenuTest, DrawsBothEntriesWithIconsAndSeparatorAndFollowsThePointer) {
  OwnerWindow owner;
  ASSERT_TRUE(owner.Create(0, L"KorvuZ4_Setting", WS_POPUP, 1, 1, 1, 1, nullptr));
  TrayMenuItem config{IDI_CONFIG_NORMAL, IDI_CONFIG_SELECTED, L"Setup"};
  TrayMenuItem exit{IDI_EXIT_NORMAL, IDI_EXIT_SELECTED, L"Exit"};

  // The tray code's steps.
  CKorvuMenu menu;
  menu.m_crIconColumn = RGB(219, 216, 209);
  menu.m_crSelection = RGB(177, 185, 207);
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_OWNERDRAW, kConfig, &config);
  menu.AppendMenu(MF_SEPARATOR, 0, nullptr);
  menu.AppendMenu(MF_OWNERDRAW, kExit, &exit);
  ::SetForegroundWindow(owner.hwnd());

  std::thread driver([&] {
    HWND popup = nullptr;
    for (int i = 0; i < 250; ++i) {
      popup = ::FindWindowW(L"#32768", nullptr);
      if (popup && ::IsWindowVisible(popup)) break;
      popup = nullptr;
      ::Sleep(20);
    }
    ASSERT_TRUE(popup);
    ::Sleep(300);
    Entry entries[3];
    for (int i = 0; i < 3; ++i)
      ASSERT_TRUE(::GetMenuItemRect(nullptr, menu.handle(), static_cast<UINT>(i), &entries[i].rc));
    const Entry& first = entries[0];
    const Entry& sep = entries[1];
    const Entry& last = entries[2];
    EXPECT_EQ(first.rc.bottom - first.rc.top, CKorvuMenu::kItemHeight);
    EXPECT_GE(first.rc.right - first.rc.left, CKorvuMenu::kItemWidth);
    EXPECT_LE(first.rc.bottom, sep.rc.top);
    EXPECT_LE(sep.rc.bottom, last.rc.top);
    EXPECT_LT(sep.rc.bottom - sep.rc.top, CKorvuMenu::kItemHeight) << "the system's separator";

    Image shot = test::CaptureWindow(popup);
    test::SaveScreenshot(shot, "tray_menu");
    ExpectNormal(shot, first, kGreyRim, "configuration");
    ExpectNormal(shot, last, kGreyRim, "exit");
    // The separator is drawn by the system, not in the entries' colours.
    EXPECT_EQ(test::CountColor(shot, sep.rc, kIconColumn, 0), 0);

    test::MoveMouse((first.rc.left + first.rc.right) / 2, (first.rc.top + first.rc.bottom) / 2);
    test::MoveMouse((first.rc.left + first.rc.right) / 2 + 1, (first.rc.top + first.rc.bottom) / 2);
    ::Sleep(200);
    shot = test::CaptureWindow(popup);
    test::SaveScreenshot(shot, "tray_menu_configuration_highlighted");
    ExpectHighlighted(shot, first, kBlueRim, "configuration");
    ExpectNormal(shot, last, kGreyRim, "exit");

    test::MoveMouse((last.rc.left + last.rc.right) / 2, (last.rc.top + last.rc.bottom) / 2);
    test::MoveMouse((last.rc.left + last.rc.right) / 2 + 1, (last.rc.top + last.rc.bottom) / 2);
    ::Sleep(200);
    shot = test::CaptureWindow(popup);
    test::SaveScreenshot(shot, "tray_menu_exit_highlighted");
    ExpectNormal(shot, first, kGreyRim, "configuration");
    ExpectHighlighted(shot, last, kRedRim, "exit");

    test::MouseButton(true);
    test::MouseButton(false);
  });
  POINT at{300, 300};
  const BOOL shown =
      menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner.hwnd());
  driver.join();
  EXPECT_TRUE(shown);
  test::Pump(200);
  EXPECT_EQ(owner.lastCommand, kExit);
}

// A draw request for an entry without item data draws nothing; requests for a menu that no
// Menu object holds are left to the owner.
TEST(KorvuMenuTest, RoutingDrawsNothingWithoutItemDataAndIgnoresForeignMenus) {
  CKorvuMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP canvas = ::CreateCompatibleBitmap(screen, 80, 24);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, canvas);
  const RECT all{0, 0, 80, 24};
  HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::FillRect(dc, &all, white);

  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_MENU;
  item.itemID = kConfig;
  item.itemState = ODS_SELECTED;
  item.hwndItem = reinterpret_cast<HWND>(menu.handle());
  item.hDC = dc;
  item.rcItem = {0, 0, 75, 22};
  item.itemData = 0;
  LRESULT result = 0;
  EXPECT_TRUE(fw::Menu::RouteOwnerDraw(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result));
  int changed = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 80; ++x) changed += ::GetPixel(dc, x, y) != RGB(255, 255, 255);
  EXPECT_EQ(changed, 0);

  HMENU foreign = ::CreatePopupMenu();
  item.hwndItem = reinterpret_cast<HWND>(foreign);
  EXPECT_FALSE(fw::Menu::RouteOwnerDraw(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result));
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = kConfig;
  EXPECT_FALSE(
      fw::Menu::RouteOwnerDraw(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
  ::DestroyMenu(foreign);
  ::SelectObject(dc, old);
  ::DeleteObject(canvas);
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace z4
