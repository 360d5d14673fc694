// The combination warning dialog as the user meets it: opened modally as the translation does,
// driven with real mouse and keys from a second thread, and checked on the screen.
#include "ui/dlg_restore.h"

#include <gtest/gtest.h>

#include <thread>

#include "fw/application.h"
#include "harness/screen_harness.h"

namespace z4 {
namespace {

using test::Image;

constexpr RECT kClose{337, 6, 353, 22};
constexpr RECT kOk{194, 174, 271, 201};
constexpr RECT kCancel{274, 174, 351, 201};

DlgRestoreTexts Texts() {
  return {L"Combination slots", L"All eight combination slots are in use. The key was reset.",
          L"OK", L"Cancel"};
}

// Opens the dialog with DoModal on this thread; drive runs on a second thread once the dialog
// is shown. A dialog still open after drive gets WM_CLOSE, so that a failing test never hangs.
INT_PTR RunDialog(HWND parent, const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    HWND dlg = nullptr;
    for (int i = 0; i < 250 && !(dlg = test::FindShown(L"CCombWarnDlg")); ++i) ::Sleep(20);
    ::Sleep(300);  // first paint
    if (dlg) drive(dlg);
    for (int i = 0; i < 100 && ::IsWindow(dlg); ++i) ::Sleep(20);
    if (::IsWindow(dlg)) {
      ADD_FAILURE() << "the dialog is still open after the test's last step";
      ::PostMessageW(dlg, WM_CLOSE, 0, 0);
    }
  });
  CDlgRestore dialog(parent, Texts());
  const INT_PTR result = dialog.DoModal();
  driver.join();
  return result;
}

POINT Origin(HWND dlg) {
  RECT r{};
  ::GetWindowRect(dlg, &r);
  return POINT{r.left, r.top};
}

POINT CentreOf(HWND dlg, const RECT& rc) {
  const POINT o = Origin(dlg);
  return POINT{o.x + (rc.left + rc.right) / 2, o.y + (rc.top + rc.bottom) / 2};
}

// Differences between the screen and a skin at a button, over the edge bands of a captioned
// button (its caption sits in the middle) or over the whole of an image-only one.
int DiffAtButton(HWND dlg, const Image& skin, const RECT& rc, bool captioned) {
  const POINT o = Origin(dlg);
  const Image screen = test::CaptureWindow(dlg);
  const int w = rc.right - rc.left;
  const int h = rc.bottom - rc.top;
  if (!captioned)
    return test::CountDifferent(screen, o.x + rc.left, o.y + rc.top, skin, rc.left, rc.top, w, h);
  return test::CountDifferent(screen, o.x + rc.left, o.y + rc.top, skin, rc.left, rc.top, w, 4) +
         test::CountDifferent(screen, o.x + rc.left, o.y + rc.bottom - 4, skin, rc.left,
                              rc.bottom - 4, w, 4);
}

class DlgRestoreTest : public ::testing::Test {
 protected:
  Image normal_ = test::LoadSkinImage(L"Restore_Normal.bmp");
  Image over_ = test::LoadSkinImage(L"Restore_Over.bmp");
  Image down_ = test::LoadSkinImage(L"Restore_Down.bmp");
};

TEST_F(DlgRestoreTest, HasTheSkinsSizeIsCentredAndShowsSkinAndTexts) {
  ASSERT_FALSE(normal_.Empty());
  const INT_PTR result = RunDialog(nullptr, [&](HWND dlg) {
    RECT r{};
    ::GetWindowRect(dlg, &r);
    EXPECT_EQ(r.right - r.left, normal_.width);
    EXPECT_EQ(r.bottom - r.top, normal_.height);
    EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXFULLSCREEN) - normal_.width) / 2);
    EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYFULLSCREEN) - normal_.height) / 2);
    EXPECT_EQ(::GetForegroundWindow(), dlg);

    const Image shot = test::CaptureWindow(dlg);
    test::SaveScreenshot(shot, "restore_open");
    // The background is the skin, pixel for pixel, away from the texts.
    EXPECT_EQ(test::CountDifferent(shot, r.left, r.top + 24, normal_, 0, 24, 110, 140, 0), 0);
    EXPECT_EQ(DiffAtButton(dlg, normal_, kClose, false), 0);
    // Message and title are drawn in a real font: dark text pixels inside their boxes.
    const RECT msg{r.left + 117, r.top + 100, r.left + 344, r.top + 130};
    const RECT tip{r.left + 126, r.top, r.left + 234, r.top + 22};
    EXPECT_GT(test::CountColor(shot, msg, 0x586369, 40), 30);
    EXPECT_GT(test::CountColor(shot, tip, 0x586369, 40), 15);
    EXPECT_GT(
        test::CountColor(
            shot, {r.left + kOk.left, r.top + kOk.top, r.left + kOk.right, r.top + kOk.bottom},
            0x585F69, 40),
        5);

    const POINT ok = CentreOf(dlg, kOk);
    test::MoveMouse(ok.x, ok.y);
    test::MouseButton(true);
    test::MouseButton(false);
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(DlgRestoreTest, HoverShowsTheHoverSkinAtTheButtonAndLeavingClearsIt) {
  RunDialog(nullptr, [&](HWND dlg) {
    const struct {
      const char* name;
      RECT rc;
      bool captioned;
    } buttons[] = {{"close", kClose, false}, {"ok", kOk, true}, {"cancel", kCancel, true}};
    for (const auto& b : buttons) {
      const POINT at = CentreOf(dlg, b.rc);
      test::MoveMouse(at.x, at.y);
      test::MoveMouse(at.x + 1, at.y);
      test::SaveScreenshot(test::CaptureWindow(dlg), std::string("restore_hover_") + b.name);
      EXPECT_EQ(DiffAtButton(dlg, over_, b.rc, b.captioned), 0) << b.name;
      EXPECT_GT(DiffAtButton(dlg, normal_, b.rc, b.captioned), 0) << b.name;
      // Onto the background: back to the normal look.
      const POINT o = Origin(dlg);
      test::MoveMouse(o.x + 150, o.y + 60);
      test::MoveMouse(o.x + 151, o.y + 60);
      EXPECT_EQ(DiffAtButton(dlg, normal_, b.rc, b.captioned), 0) << b.name;
    }
    const POINT close = CentreOf(dlg, kClose);
    test::MoveMouse(close.x, close.y);
    test::MouseButton(true);
    test::MouseButton(false);
  });
}

TEST_F(DlgRestoreTest, PressingMovingOffAndReleasingStillCloses) {
  const struct {
    const char* name;
    RECT rc;
    bool captioned;
    INT_PTR result;
  } cases[] = {{"ok", kOk, true, IDOK},
               {"cancel", kCancel, true, IDCANCEL},
               {"close", kClose, false, IDCANCEL}};
  for (const auto& c : cases) {
    const INT_PTR result = RunDialog(nullptr, [&](HWND dlg) {
      const POINT at = CentreOf(dlg, c.rc);
      test::MoveMouse(at.x, at.y);
      test::MouseButton(true);
      test::SaveScreenshot(test::CaptureWindow(dlg), std::string("restore_pressed_") + c.name);
      EXPECT_EQ(DiffAtButton(dlg, down_, c.rc, c.captioned), 0) << c.name;
      const POINT o = Origin(dlg);
      test::MoveMouse(o.x + 150, o.y + 60);
      EXPECT_TRUE(::IsWindowVisible(dlg)) << c.name;
      test::MouseButton(false);
    });
    EXPECT_EQ(result, c.result) << c.name;
  }
}

TEST_F(DlgRestoreTest, EnterEscapeSpaceAndF1LeaveItOpenAndUnchanged) {
  const INT_PTR result = RunDialog(nullptr, [&](HWND dlg) {
    const Image before = test::CaptureWindow(dlg);
    for (int key : {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_F1}) {
      test::PressKey(static_cast<WORD>(key));
      ::Sleep(150);
      ASSERT_TRUE(::IsWindowVisible(dlg)) << "key " << key;
      const Image after = test::CaptureWindow(dlg);
      EXPECT_EQ(test::CountDifferent(after, after.left, after.top, before, before.left, before.top,
                                     before.width, before.height, 0),
                0)
          << "key " << key;
    }
    test::SaveScreenshot(test::CaptureWindow(dlg), "restore_after_keys");
    // What the task window does when it closes: WM_CLOSE ends the dialog like Cancel.
    ::PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DlgRestoreTest, DraggingTheBackgroundMovesTheDialog) {
  RunDialog(nullptr, [&](HWND dlg) {
    RECT before{};
    ::GetWindowRect(dlg, &before);
    const POINT start{before.left + 40, before.top + 170};
    test::MoveMouse(start.x, start.y);
    test::MouseButton(true);
    for (int step = 1; step <= 4; ++step) test::MoveMouse(start.x + 15 * step, start.y + 10 * step);
    test::MouseButton(false);
    RECT after{};
    ::GetWindowRect(dlg, &after);
    EXPECT_EQ(after.left - before.left, 60);
    EXPECT_EQ(after.top - before.top, 40);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    test::SaveScreenshot(test::CaptureScreen({0, 0, 1280, 1024}), "restore_dragged");
    const POINT ok = CentreOf(dlg, kOk);
    test::MoveMouse(ok.x, ok.y);
    test::MouseButton(true);
    test::MouseButton(false);
  });
}

TEST_F(DlgRestoreTest, OwnerIsDisabledWhileItRuns) {
  struct OwnerWindow : fw::Window {};
  OwnerWindow owner;
  ASSERT_TRUE(owner.Create(0, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr));
  RunDialog(owner.hwnd(), [&](HWND dlg) {
    EXPECT_EQ(::GetWindow(dlg, GW_OWNER), owner.hwnd());
    EXPECT_FALSE(::IsWindowEnabled(owner.hwnd()));
    ::PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
}

// Missing or undecodable skins: the dialog still opens at the layout's size, draws a plain
// look with its texts, and its buttons still close it.
TEST_F(DlgRestoreTest, OpensUsableAndClosableWithoutDecodableSkins) {
  const struct {
    const char* name;
    std::vector<std::pair<std::wstring, std::string>> files;
  } cases[] = {
      {"missing", {}},
      {"undecodable",
       {{L"Restore_Normal.bmp", "BM not really"},
        {L"Restore_Over.bmp", ""},
        {L"Restore_Down.bmp", std::string(4096, '\xff')}}},
  };
  for (const auto& c : cases) {
    test::SkinFolderSwap swap(c.files);
    const INT_PTR result = RunDialog(nullptr, [&](HWND dlg) {
      RECT r{};
      ::GetWindowRect(dlg, &r);
      EXPECT_EQ(r.right - r.left, CDlgRestore::kLayoutSize.cx) << c.name;
      EXPECT_EQ(r.bottom - r.top, CDlgRestore::kLayoutSize.cy) << c.name;
      EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXFULLSCREEN) - CDlgRestore::kLayoutSize.cx) / 2);
      const Image shot = test::CaptureWindow(dlg);
      test::SaveScreenshot(shot, std::string("restore_no_skin_") + c.name);
      const RECT msg{r.left + 117, r.top + 100, r.left + 344, r.top + 130};
      EXPECT_GT(test::CountColor(shot, msg, 0x586369, 40), 30) << c.name;
      const POINT ok = CentreOf(dlg, kOk);
      test::MoveMouse(ok.x, ok.y);
      test::MouseButton(true);
      test::MouseButton(false);
    });
    EXPECT_EQ(result, IDOK) << c.name;
  }
}

}  // namespace
}  // namespace z4
