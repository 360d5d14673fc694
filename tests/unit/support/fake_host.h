// A task host that records timer and post calls in order, as text, for exact comparisons.
#pragma once

#include <string>
#include <vector>

#include "app/task_core.h"

namespace z4::test {

class FakeHost : public TaskHost {
 public:
  void StartTimer(TaskTimer id, unsigned periodMs) override {
    calls.push_back("start " + std::to_string(id) + " " + std::to_string(periodMs));
  }
  void StopTimer(TaskTimer id) override { calls.push_back("stop " + std::to_string(id)); }
  void Post(WindowRef target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    calls.push_back("post " + std::to_string(target) + " " + std::to_string(message) + " " +
                    std::to_string(wParam) + " " + std::to_string(lParam));
  }
  std::vector<std::string> calls;
};

}  // namespace z4::test
