// Creation, the driver link and the device reset of the task window.
#include "app/task_core.h"

#include "device/usb_ids.h"

namespace z4 {

bool KorvuTaskCore::Create(const TaskStartup& startup) {
  LoadSettings(registry_, m_settings, startup.keyCodes);
  driver_.Open();  // no retry timer at creation: a later arrival opens it
  host_.RegisterNotifications();
  m_keyBlock.fill(0);
  driver_.ReadKeyBlock(m_keyBlock);  // a closed driver or a failed read leaves it zeroed
  ReadBack();
  profiles_.emplace(profileStorage_, startup.agentFolder, startup.profileTitle, startup.keyCodes);
  try {
    profiles_->RefreshProfiles(m_autoSwitch);
  } catch (const FileError&) {
    return false;
  }
  host_.StartTimer(TIMER_AUTOSWITCH, kAutoSwitchPeriodMs);
  return true;
}

void KorvuTaskCore::ReadBack() {
  ReadBackCombSlots(m_keyBlock, m_combSlots, driver_);
  BuildFactoryKeyBlock(m_defKeyBlock, m_keyPosMap);
}

void KorvuTaskCore::RefreshFromDevice() {
  DeviceKeyBlock probe{};
  driver_.ReadKeyBlock(probe);
  if (!HasSignature(probe)) {
    RepairSignature(probe);
    driver_.WriteKeyBlock(probe);
  }
  m_keyBlock.fill(0);
  driver_.ReadKeyBlock(m_keyBlock);
  ReadBack();
}

void KorvuTaskCore::OnDeviceArrival(const char16_t* name, std::size_t len) {
  if (!ContainsKeyboardId(name, len) || driver_.IsOpen()) return;
  if (driver_.Open())
    RefreshFromDevice();
  else
    host_.StartTimer(TIMER_REOPEN, kReopenPeriodMs);
}

void KorvuTaskCore::OnDeviceRemoval(const char16_t* name, std::size_t len) {
  if (!ContainsKeyboardId(name, len)) return;
  driver_.Close();
  if (m_hConfigWnd) host_.Post(m_hConfigWnd, kWmClose, 0, 0);
}

void KorvuTaskCore::OnReopenTimer() {
  // An arrival may have opened the driver since this timer started: opening again would leave a
  // second handle behind, so the timer only stops.
  if (driver_.IsOpen()) {
    host_.StopTimer(TIMER_REOPEN);
    return;
  }
  if (!driver_.Open()) return;  // fires again in 100 ms
  RefreshFromDevice();
  host_.StopTimer(TIMER_REOPEN);
}

void KorvuTaskCore::ResetDevice() {
  driver_.WriteKeyBlock(m_defKeyBlock);
  ClearCombSlots(m_combSlots, driver_);
  BlankMacroSlots(driver_);
}

void KorvuTaskCore::OnDestroy() {
  if (m_hConfigWnd) host_.Post(m_hConfigWnd, kWmClose, 0, 0);
  driver_.Close();
  host_.StopTimer(TIMER_REOPEN);
  host_.StopTimer(TIMER_AUTOSWITCH);
}

void KorvuTaskCore::PostKeyReset(std::uint8_t keyCode) {
  host_.Post(m_hConfigWnd, WM_KEY_RESET, host_.Self(), keyCode);
}

}  // namespace z4
