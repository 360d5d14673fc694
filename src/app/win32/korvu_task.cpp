#include "app/win32/korvu_task.h"

#include <dbt.h>
#include <wtsapi32.h>

#include <cstddef>

#include "app/win32/tray_launch.h"
#include "fw/menu.h"
#include "fw/program_name.h"
#include "fw/wide.h"
#include "res/resource_ids.h"
#include "resources/key_layout.h"
#include "resources/language_strings.h"
#include "settings/win32/foreground.h"
#include "ui/dlg_restore.h"
#include "ui/progress_dlg.h"
#include "ui/skin.h"
#include "xml/win32/win32_text_platform.h"

namespace z4 {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE, spelled out to avoid linking a GUID library for one value.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

class ProgressWindow : public ApplyProgress {
 public:
  ProgressWindow() : dlg_({fw::ToWide(str_update_tip), fw::ToWide(str_update_msg)}) {}
  bool Open() {
    if (!dlg_.Create()) return false;
    dlg_.Show();
    return true;
  }
  void SetProgress(int percent) override {
    // A WM_CLOSE from outside may have destroyed the window already.
    if (dlg_.hwnd()) dlg_.SetProgress(percent);
  }

 private:
  CProgressDlg dlg_;
};

}  // namespace

LRESULT CKorvuTask::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    // Transient windows of the agent get WM_CLOSE before the task window goes.
    for (const wchar_t* title : {L"CCombWarnDlg", L"Z4_Progressbar"})
      if (HWND w = ::FindWindowW(nullptr, title)) ::PostMessageW(w, WM_CLOSE, 0, 0);
  }
  return fw::Window::WindowProc(msg, wParam, lParam);
}

bool CKorvuTask::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_CREATE:
      result = OnCreate(msg, wParam, lParam);
      return true;
    case WM_TRAYICON_NOTIFY:
      result = OnTrayNotify(hwnd(), wParam, lParam);
      return true;
    case WM_APPLY_SETTINGS:
      result = core_.OnApplySettings(lParam);
      return true;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_TRAY_CONFIG) {
        LaunchConfig(hwnd());
        return true;
      }
      if (LOWORD(wParam) == ID_TRAY_EXIT) {
        ::DestroyWindow(hwnd());  // directly, without WM_CLOSE
        return true;
      }
      return false;
    case WM_DESTROY:
      OnDestroy();
      return true;
    case WM_TIMER:
      if (wParam == TIMER_REOPEN) core_.OnReopenTimer();
      if (wParam == TIMER_AUTOSWITCH) core_.OnAutoSwitchTick();
      return true;
    default:
      return false;
  }
}

LRESULT CKorvuTask::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages with no entry of their own: the configuration program's three are acted on here
  // and passed on; owner-draw requests go to the tray menu being tracked.
  switch (msg) {
    case WM_SET_CONFIG_WND:
      core_.SetConfigWnd(static_cast<WindowRef>(wParam));
      break;
    case WM_SET_RATE:
      core_.SetRate(wParam);
      break;
    case WM_RESET_DEVICE:
      core_.ResetDevice();
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: {
      LRESULT result = 0;
      if (fw::Menu::RouteOwnerDraw(msg, wParam, lParam, result)) return result;
      break;
    }
    default:
      break;
  }
  return fw::Window::DefaultProc(msg, wParam, lParam);
}

LRESULT CKorvuTask::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (fw::Window::DefaultProc(msg, wParam, lParam) == -1) return -1;

  m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_AGENT));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));

  TaskStartup startup;
  startup.agentFolder = fw::FromWide(GetProgramFolder());
  Win32TextPlatform text;
  LoadKeyLayout(text, startup.agentFolder + u"ButtonPos.xml");
  for (std::size_t i = 0; i < kKeyLayoutCount; ++i) startup.keyCodes[i] = g_keyLayout[i].keyCode;
  startup.profileTitle = str_profile_title;
  return core_.Create(startup) ? 0 : -1;
}

void CKorvuTask::RegisterNotifications() {
  sessionNotify_ = ::WTSRegisterSessionNotification(hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  trayIcon_.Add(hwnd(), m_hIcon, str_title);
  RegisterDeviceNotify(hwnd());
}

bool CKorvuTask::RegisterDeviceNotify(HWND window) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  static_assert(sizeof filter == 32, "the filter structure is 32 bytes in both builds");
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kUsbDeviceInterface;
  deviceNotify_.reset(::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
  return static_cast<bool>(deviceNotify_);
}

void CKorvuTask::OnDeviceChange(WPARAM event, LPARAM broadcast) {
  if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(broadcast);
  if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
  // The name runs to the terminator or to the end the broadcast declares, whichever is first;
  // a sender that declares less than the fixed part gets no name at all.
  constexpr std::size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  if (header->dbch_size <= nameOffset) return;
  const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  const std::size_t capacity = (header->dbch_size - nameOffset) / sizeof(wchar_t);
  std::size_t len = 0;
  while (len < capacity && iface->dbcc_name[len] != L'\0') ++len;
  const auto* name = reinterpret_cast<const char16_t*>(iface->dbcc_name);
  if (event == DBT_DEVICEARRIVAL)
    core_.OnDeviceArrival(name, len);
  else
    core_.OnDeviceRemoval(name, len);
}

void CKorvuTask::OnDestroy() {
  fw::Window::DefaultProc(WM_DESTROY, 0, 0);
  core_.OnDestroy();
  if (sessionNotify_) ::WTSUnRegisterSessionNotification(hwnd());
  sessionNotify_ = false;
  deviceNotify_.reset();
  trayIcon_.Remove();
}

void CKorvuTask::StartTimer(TaskTimer id, unsigned periodMs) { ::SetTimer(hwnd(), id, periodMs, nullptr); }

void CKorvuTask::StopTimer(TaskTimer id) { ::KillTimer(hwnd(), id); }

void CKorvuTask::Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) {
  ::PostMessageW(reinterpret_cast<HWND>(target), message, wParam, lParam);
}

void CKorvuTask::ShowCombWarning(WarningOwner owner) {
  CDlgRestore dlg(owner == WarningOwner::TaskWindow ? hwnd() : nullptr,
                  {fw::ToWide(str_tip), fw::ToWide(str_msg1), fw::ToWide(str_OK),
                   fw::ToWide(str_Cancel)});
  dlg.DoModal();
}

std::unique_ptr<ApplyProgress> CKorvuTask::OpenProgress() {
  auto progress = std::make_unique<ProgressWindow>();
  if (!progress->Open()) return nullptr;
  return progress;
}

void CKorvuTask::ReportFileError(const FileError& error) {
  const std::wstring text = fw::ToWide(error.path()) + L"\ncould not be opened.";
  ::MessageBoxW(nullptr, text.c_str(), fw::ProgramName().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CKorvuTask::SendSilentApply() {
  ::SendMessageW(hwnd(), WM_APPLY_SETTINGS, 0, kSilentApply);
}

std::u16string CKorvuTask::ForegroundProgramName() { return z4::ForegroundProgramName(); }

}  // namespace z4
