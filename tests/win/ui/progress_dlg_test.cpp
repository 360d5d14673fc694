// The progress window as the apply sequence uses it (create, show, SetProgress, close), checked
// on the screen: size and place, topmost tool window, the bar's fill, inert input, no skins.
#include "ui/progress_dlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "fw/application.h"
#include "ui/dlg_restore.h"
#include "harness/screen_harness.h"

namespace z4 {
namespace {

using test::Image;

constexpr RECT kBar = CProgressDlg::kBarRect;
constexpr int kBarWidth = kBar.right - kBar.left;

// An application whose main window stands in for the task window.
class TaskStandIn : public fw::Application {
 public:
  TaskStandIn() {
    window_.Create(0, L"KorvuZ4_Setting", WS_POPUP, 1, 1, 1, 1, nullptr);
    SetMainWindow(&window_);
  }
  ~TaskStandIn() override { SetMainWindow(nullptr); }
  HWND hwnd() const { return window_.hwnd(); }

 protected:
  bool InitInstance() override { return false; }

 private:
  struct Plain : fw::Window {};
  Plain window_;
};

ProgressTexts Texts() { return {L"Z4 update", L"Writing your settings into the keyboard..."}; }

class ProgressDlgTest : public ::testing::Test {
 protected:
  void Open() {
    dlg_ = std::make_unique<CProgressDlg>(Texts());
    ASSERT_TRUE(dlg_->Create());
    dlg_->Show();
    test::Pump(400);
  }
  // Columns of the bar on the screen that show the fill skin (the rest must show the back).
  int FilledColumns(const Image& fill, const Image& back, const std::string& shotName) {
    RECT r{};
    ::GetWindowRect(dlg_->hwnd(), &r);
    const Image shot = test::CaptureWindow(dlg_->hwnd());
    test::SaveScreenshot(shot, shotName);
    int filled = 0;
    for (int x = 0; x < kBarWidth; ++x) {
      const int sx = r.left + kBar.left + x;
      const int sy = r.top + kBar.top;
      const bool isFill = test::CountDifferent(shot, sx, sy, fill, kBar.left + x, kBar.top, 1,
                                               kBar.bottom - kBar.top) == 0;
      const bool isBack = test::CountDifferent(shot, sx, sy, back, kBar.left + x, kBar.top, 1,
                                               kBar.bottom - kBar.top) == 0;
      EXPECT_TRUE(isFill != isBack) << "column " << x;
      if (isFill && x != filled) ADD_FAILURE() << "fill is not contiguous from the left at " << x;
      if (isFill) ++filled;
    }
    return filled;
  }

  TaskStandIn app_;
  std::unique_ptr<CProgressDlg> dlg_;
};

TEST_F(ProgressDlgTest, IsTheSkinsSizeCentredTopmostToolWindowOwnedByTheTaskWindow) {
  const Image normal = test::LoadSkinImage(L"Progress_Normal.png");
  ASSERT_FALSE(normal.Empty());
  Open();
  HWND h = dlg_->hwnd();
  wchar_t title[32] = {};
  ::GetWindowTextW(h, title, 32);
  EXPECT_STREQ(title, L"Z4_Progressbar");
  RECT r{};
  ::GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, normal.width);
  EXPECT_EQ(r.bottom - r.top, normal.height);
  EXPECT_EQ(r.left, static_cast<int>((static_cast<unsigned>(::GetSystemMetrics(SM_CXFULLSCREEN)) -
                                      static_cast<unsigned>(normal.width)) /
                                     2));
  EXPECT_EQ(r.top, static_cast<int>((static_cast<unsigned>(::GetSystemMetrics(SM_CYFULLSCREEN)) -
                                     static_cast<unsigned>(normal.height)) /
                                    2));
  const LONG_PTR ex = ::GetWindowLongPtrW(h, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "a tool window has no taskbar button";
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_EQ(::GetWindow(h, GW_OWNER), app_.hwnd());

  const Image shot = test::CaptureWindow(h);
  test::SaveScreenshot(shot, "progress_open");
  // Title and message drawn in a real font over the skin.
  EXPECT_GT(test::CountDifferent(shot, r.left + 9, r.top + 4, normal, 9, 4, 150, 21), 20);
  EXPECT_GT(test::CountDifferent(shot, r.left + 37, r.top + 45, normal, 37, 45, 322, 30), 20);
  // Everywhere else the skin, pixel for pixel (left of the message, above the bar).
  EXPECT_EQ(test::CountDifferent(shot, r.left, r.top + 30, normal, 0, 30, 36, 100, 2), 0);
  // Above a window that is brought up after it.
  struct Other : fw::Window {};
  Other other;
  ASSERT_TRUE(
      other.Create(0, L"other", WS_POPUP | WS_VISIBLE, r.left - 20, r.top - 20, 500, 300, nullptr));
  ::SetForegroundWindow(other.hwnd());
  test::Pump(500);
  // Above it in the window order.
  bool above = false;
  for (HWND w = ::GetWindow(other.hwnd(), GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV))
    above = above || w == h;
  EXPECT_TRUE(above);
  // Wine without a window manager stacks the X windows by creation, not by this order, so
  // the screenshot is kept for review only.
  test::SaveScreenshot(test::CaptureScreen({r.left - 30, r.top - 30, r.right + 30, r.bottom + 30}),
                       "progress_topmost");
  dlg_->Close();
  EXPECT_FALSE(::IsWindow(h));
}

TEST_F(ProgressDlgTest, SetProgressFillsItsShareOfTheBarAndOutOfRangeShowsItEmpty) {
  const Image normal = test::LoadSkinImage(L"Progress_Normal.png");
  const Image over = test::LoadSkinImage(L"Progress_Over.png");
  Open();
  const struct {
    int percent;
    int filled;
  } cases[] = {{0, 0}, {10, 26}, {50, 130}, {100, 261}, {150, 0}, {-5, 0}, {101, 0}, {40, 104}};
  for (const auto& c : cases) {
    // The bar repaints inside SetProgress: nothing is left to paint when it returns. (Wine
    // shows the new pixels on the X display once the thread next looks at its messages.)
    dlg_->SetProgress(c.percent);
    EXPECT_FALSE(::GetUpdateRect(dlg_->Bar().hwnd(), nullptr, FALSE)) << c.percent << "%";
    test::Pump(150);
    EXPECT_EQ(FilledColumns(over, normal, "progress_" + std::to_string(c.percent)), c.filled)
        << c.percent << "%";
  }
}

TEST_F(ProgressDlgTest, ClicksAndDragsOnTheBarChangeNothing) {
  Open();
  dlg_->SetProgress(60);
  test::Pump(200);
  RECT before{};
  ::GetWindowRect(dlg_->hwnd(), &before);
  const Image shotBefore = test::CaptureWindow(dlg_->hwnd());
  const int x = before.left + kBar.left + 20, y = before.top + kBar.top + 5;
  test::MoveMouse(x, y);
  test::MouseButton(true);
  test::MoveMouse(x + 150, y + 30);
  test::MouseButton(false);
  test::MoveMouse(x + 5, y);
  test::MouseButton(true);
  test::MouseButton(false);
  RECT after{};
  ::GetWindowRect(dlg_->hwnd(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(dlg_->Bar().GetPos(), 60);
  const Image shotAfter = test::CaptureScreen(before);
  EXPECT_EQ(test::CountDifferent(shotAfter, before.left, before.top + 80, shotBefore, before.left,
                                 before.top + 80, shotBefore.width, 20, 0),
            0);
}

TEST_F(ProgressDlgTest, TheWarningDuringAnApplyIsOwnedByTheProgressWindow) {
  Open();
  HWND progress = dlg_->hwnd();
  std::thread driver([&] {
    HWND warn = nullptr;
    for (int i = 0; i < 250 && !(warn = test::FindShown(L"CCombWarnDlg")); ++i) ::Sleep(20);
    ASSERT_TRUE(warn);
    EXPECT_EQ(::GetWindow(warn, GW_OWNER), progress);
    EXPECT_FALSE(::IsWindowEnabled(progress));
    ::PostMessageW(warn, WM_CLOSE, 0, 0);
  });
  CDlgRestore warning(nullptr, {L"t", L"m", L"OK", L"Cancel"});
  EXPECT_EQ(warning.DoModal(), IDCANCEL);
  driver.join();
  EXPECT_TRUE(::IsWindowEnabled(progress));
}

// Missing or undecodable PNGs: the window opens at the layout's size and shows a plain bar
// whose fill still follows SetProgress; nothing is drawn from absent images.
TEST_F(ProgressDlgTest, WithoutDecodableSkinsShowsAPlainWindowAndBar) {
  const struct {
    const char* name;
    std::vector<std::pair<std::wstring, std::string>> files;
  } cases[] = {
      {"missing", {}},
      {"undecodable",
       {{L"Progress_Normal.png", "\x89PNG\r\n\x1a\n broken"}, {L"Progress_Over.png", ""}}},
  };
  for (const auto& c : cases) {
    test::SkinFolderSwap swap(c.files);
    Open();
    RECT r{};
    ::GetWindowRect(dlg_->hwnd(), &r);
    EXPECT_EQ(r.right - r.left, CProgressDlg::kLayoutSize.cx) << c.name;
    EXPECT_EQ(r.bottom - r.top, CProgressDlg::kLayoutSize.cy) << c.name;
    dlg_->SetProgress(50);
    test::Pump(300);
    const Image shot = test::CaptureWindow(dlg_->hwnd());
    test::SaveScreenshot(shot, std::string("progress_no_skin_") + c.name);
    const int top = r.top + kBar.top, bottom = r.top + kBar.bottom;
    const int left = r.left + kBar.left;
    EXPECT_EQ(test::CountColor(shot, {left, top, left + 130, bottom}, 0x3A7BD5, 2), 130 * 11)
        << c.name;
    EXPECT_EQ(test::CountColor(shot, {left + 130, top, left + kBarWidth, bottom}, 0xD9DDE3, 2),
              131 * 11)
        << c.name;
    dlg_.reset();
  }
}

}  // namespace
}  // namespace z4
