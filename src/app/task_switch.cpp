// Automatic profile switching: one tick compares the foreground program with the bindings.
#include "app/task_core.h"
#include "settings/auto_switch.h"

namespace z4 {

void KorvuTaskCore::OnAutoSwitchTick() {
  const std::u16string program = host_.ForegroundProgramName();
  const std::optional<std::int32_t> target =
      FindSwitchTarget(program, m_autoSwitch, m_settings.nProfileSel);
  if (target) SwitchToProfile(*target);
}

void KorvuTaskCore::SwitchToProfile(std::int32_t profile) {
  m_settings.nProfileSel = profile;
  SaveProfileSel(registry_, m_settings);
  try {
    if (!profiles_ || !profiles_->LoadProfile(static_cast<std::size_t>(profile), m_settings, registry_))
      return;  // a short profile file is refused and leaves the tables as they were
  } catch (const FileError& e) {
    // The selection stays stored, so later ticks do not try again for this profile.
    host_.ReportFileError(e);
    return;
  }
  host_.Post(m_hConfigWnd, WM_PROFILE_CHANGED, 0, profile);
  host_.SendSilentApply();
}

}  // namespace z4
