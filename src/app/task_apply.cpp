// The apply sequence: reread the settings and write all of them to the keyboard.
#include "app/task_core.h"

namespace z4 {
namespace {

struct ProgressStep {
  int percent;
  unsigned pauseMs;
};
// Where the bar stands after the slots are written, and how long each step is shown.
constexpr ProgressStep kAfterKeyBlock[] = {{40, 2000}, {60, 1000}, {80, 0}};
constexpr ProgressStep kShown = {10, 1000};
constexpr ProgressStep kDone = {100, 1000};

}  // namespace

std::intptr_t KorvuTaskCore::OnApplySettings(std::intptr_t lParam) {
  ReadSettings(registry_, m_settings);

  // A request that arrives while an apply with the progress window waits in the warning
  // dialog runs silently: the outer apply keeps its own window and resumes with it.
  const bool withProgress = lParam != kSilentApply && !m_pProgressDlg;
  auto step = [&](const ProgressStep& s) {
    if (m_pProgressDlg) m_pProgressDlg->SetProgress(s.percent);
    if (s.pauseMs) host_.Pause(s.pauseMs);
  };
  if (withProgress) {
    m_pProgressDlg = host_.OpenProgress();
    step(kShown);
  }

  ClearCombSlots(m_combSlots, driver_);
  BlankMacroSlots(driver_);
  TranslateKeySettings(m_settings, m_keyBlock, m_defKeyBlock, m_keyPosMap, m_combSlots, driver_,
                       *this);
  driver_.WriteKeyBlock(m_keyBlock);
  if (withProgress)
    for (const ProgressStep& s : kAfterKeyBlock) step(s);

  std::optional<FileError> fileError;
  try {
    if (profiles_) profiles_->RefreshProfiles(m_autoSwitch);
    if (withProgress) step(kDone);
  } catch (const FileError& e) {
    fileError = e;
  }
  // The window closes in every case, before any error is reported over it.
  if (withProgress) m_pProgressDlg.reset();
  if (fileError) host_.ReportFileError(*fileError);
  return 1;
}

}  // namespace z4
