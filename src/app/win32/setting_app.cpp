#include "app/win32/setting_app.h"

#include <commctrl.h>

#include "app/win32/gdiplus_startup.h"
#include "fw/wide.h"
#include "resources/language_strings.h"
#include "ui/skin.h"
#include "xml/win32/win32_text_platform.h"

namespace z4 {

bool CZ2_SettingApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&icc);

  m_gdiplusToken = StartGdiplus();

  // Before the single-instance check, so a second instance reads it too.
  Win32TextPlatform text;
  LoadLanguage(text, fw::FromWide(GetProgramFolder()) + u"language.xml");

  m_hMutex.reset(::CreateMutexW(nullptr, FALSE, L"KORVUZ4_MUTEX"));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    m_hMutex.reset();
    return false;
  }

  m_pTask = std::make_unique<CKorvuTask>(driver_, registry_, profileStorage_);
  if (!m_pTask->Create(0, L"KorvuZ4_Setting", WS_POPUP, 1, 1, 1, 1, nullptr)) return false;
  SetMainWindow(m_pTask.get());
  return true;
}

int CZ2_SettingApp::ExitInstance() {
  m_pTask.reset();
  m_hMutex.reset();
  return fw::Application::ExitInstance();
}

}  // namespace z4
