// A task host that records what the core asked of the window system, in order, as text.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/task_core.h"

namespace z4::test {

class FakeHost : public TaskHost {
 public:
  static constexpr WindowRef kSelf = 0x7A5C;

  WindowRef Self() const override { return kSelf; }
  void StartTimer(TaskTimer id, unsigned periodMs) override {
    Record("start " + std::to_string(id) + " " + std::to_string(periodMs));
  }
  void StopTimer(TaskTimer id) override { Record("stop " + std::to_string(id)); }
  void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    Record("post " + std::to_string(target) + " " + std::to_string(message) + " " +
           std::to_string(wParam) + " " + std::to_string(lParam));
  }
  void RegisterNotifications() override { Record("register"); }
  void ShowCombWarning(WarningOwner owner) override {
    Record(owner == WarningOwner::TaskWindow ? "warning task" : "warning none");
    if (onWarning) onWarning();
  }
  std::unique_ptr<ApplyProgress> OpenProgress() override {
    Record("progress open");
    return std::make_unique<Progress>(*this);
  }
  void Pause(unsigned ms) override { Record("pause " + std::to_string(ms)); }
  void ReportFileError(const FileError&) override { Record("file error"); }
  void SendSilentApply() override {
    Record("silent apply");
    if (onSilentApply) onSilentApply();
  }
  std::u16string ForegroundProgramName() override { return foreground; }

  // Only the calls that start with prefix.
  std::vector<std::string> Calls(const std::string& prefix = "") const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }

  std::vector<std::string> calls;
  std::u16string foreground = u"UNKNOW";
  std::function<void()> onWarning;
  std::function<void()> onSilentApply;

 private:
  struct Progress : ApplyProgress {
    explicit Progress(FakeHost& h) : host(h) {}
    ~Progress() override { host.Record("progress close"); }
    void SetProgress(int percent) override { host.Record("progress " + std::to_string(percent)); }
    FakeHost& host;
  };
  void Record(std::string s) { calls.push_back(std::move(s)); }
};

}  // namespace z4::test
