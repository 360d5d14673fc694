// The HID presence probe's walk over a fake interface set.
#include "device/hid_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace z4 {
namespace {

using Detail = HidInterfaceSet::Detail;

struct FakeInterface {
  Detail detail;
  std::u16string path;
};

// Interfaces 0..n-1 enumerate; every call is recorded, and a detail asked for before any
// successful enumeration fails the test.
class FakeSet : public HidInterfaceSet {
 public:
  explicit FakeSet(std::vector<FakeInterface> interfaces, bool enumFails = false)
      : interfaces_(std::move(interfaces)), enumFails_(enumFails) {}
  bool Enumerate(std::uint32_t index) override {
    calls.push_back("enum " + std::to_string(index));
    if (enumFails_ || index >= interfaces_.size()) {
      current_ = -1;
      return false;
    }
    current_ = static_cast<int>(index);
    return true;
  }
  Detail DevicePath(std::u16string& path) override {
    calls.push_back("detail " + std::to_string(current_));
    if (current_ < 0) {
      ADD_FAILURE() << "detail without an enumerated interface";
      return Detail::Failed;
    }
    const FakeInterface& i = interfaces_[static_cast<std::size_t>(current_)];
    if (i.detail == Detail::Read) path = i.path;
    return i.detail;
  }
  std::vector<std::string> calls;

 private:
  std::vector<FakeInterface> interfaces_;
  bool enumFails_;
  int current_ = -1;
};

struct Report : HidProbeReport {
  void ToDebugger(const char* text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

const std::u16string kKeyboard = u"\\\\?\\hid#vid_04d9&pid_a059&mi_00#7&1f2e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::u16string kKeyboardUpper = u"\\\\?\\HID#VID_04D9&PID_A059&MI_01#7&1F2E&0&0001#{4D1E55B2-F16F-11CF-88CB-001111000030}";
const std::u16string kOtherProduct = u"\\\\?\\hid#vid_04d9&pid_a05a#7&3&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::u16string kMouse = u"\\\\?\\hid#vid_046d&pid_c077#7&4&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kFound = "Success:Found Z6 device\n";
const std::string kNoMemory = "Error: OpenDeviceInterface: malloc failed\n";
const std::string kNoDetail = "Error: SetupDiGetInterfaceDeviceDetail failed\n";

struct ProbeCase {
  const char* what;
  std::vector<FakeInterface> interfaces;
  bool present;
  std::vector<std::string> calls;
  std::vector<std::string> texts;
};

TEST(HidProbe, WalksUntilTheFirstMatchOrTheEnd) {
  const ProbeCase cases[] = {
      {"no HID devices", {}, false, {"enum 0"}, {}},
      {"keyboard path in lower case",
       {{Detail::Read, kMouse}, {Detail::Read, kKeyboard}},
       true,
       {"enum 0", "detail 0", "enum 1", "detail 1"},
       {kFound}},
      {"same vendor, other product", {{Detail::Read, kOtherProduct}}, false,
       {"enum 0", "detail 0", "enum 1"}, {}},
      {"several keyboard interfaces: the first ends the search",
       {{Detail::Read, kKeyboardUpper}, {Detail::Read, kKeyboard}},
       true,
       {"enum 0", "detail 0"},
       {kFound}},
      {"unreadable details count as no match and the walk goes on",
       {{Detail::NoMemory, {}}, {Detail::Failed, {}}, {Detail::Read, kKeyboard}},
       true,
       {"enum 0", "detail 0", "enum 1", "detail 1", "enum 2", "detail 2"},
       {kNoMemory, kNoDetail, kFound}},
      {"only failures", {{Detail::Failed, kKeyboard}}, false, {"enum 0", "detail 0", "enum 1"},
       {kNoDetail}},
      {"an empty path", {{Detail::Read, u""}}, false, {"enum 0", "detail 0", "enum 1"}, {}},
  };
  for (const ProbeCase& c : cases) {
    FakeSet set(c.interfaces);
    Report report;
    EXPECT_EQ(FindKeyboardInterface(set, report), c.present) << c.what;
    EXPECT_EQ(set.calls, c.calls) << c.what;
    EXPECT_EQ(report.texts, c.texts) << c.what;
  }
}

TEST(HidProbe, FailingEnumerationIsAbsent) {
  FakeSet set({{Detail::Read, kKeyboard}}, /*enumFails=*/true);
  Report report;
  EXPECT_FALSE(FindKeyboardInterface(set, report));
  EXPECT_EQ(set.calls, std::vector<std::string>{"enum 0"});
  EXPECT_TRUE(report.texts.empty());
}

}  // namespace
}  // namespace z4
