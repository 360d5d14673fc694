// Fuzzes the key assignment translation with random settings images, key blocks and slot tables,
// and a warning dialog that may run a nested pass, as its modal loop can.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "settings/translate.h"

namespace {

using namespace z4;

void Check(bool ok) {
  if (!ok) std::abort();
}

// Always open; checks every request's shape.
struct Transport : DriverTransport {
  bool OpenDevice() override { return true; }
  void CloseDevice() override {}
  bool IsDeviceOpen() const override { return true; }
  bool Control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t*,
               std::uint32_t) override {
    if (code == IOCTL_KVKBD_WRITE_COMB) Check(inSize == KVKBD_COMB_REQ_SIZE && in[0] >= 1 && in[0] <= 8);
    if (code == IOCTL_KVKBD_WRITE_MACRO) Check(inSize == KVKBD_MACRO_REQ_SIZE && in[0] >= 1 && in[0] <= 11);
    return true;
  }
};

struct State {
  SettingsImage image;
  DeviceKeyBlock keyBlock{};
  DeviceKeyBlock defKeyBlock{};
  KeyPosMap keyPosMap;
  CombSlotTable combSlots{};
  Transport transport;
  CUSBDriver driver{transport};
};

struct Host : TranslateHost {
  State& state;
  bool nest;
  explicit Host(State& s, bool n) : state(s), nest(n) {}
  void ShowCombWarning(WarningOwner) override {
    if (!nest) return;
    nest = false;  // one nested apply, as a message in the dialog's loop could start
    Host inner(state, false);
    ClearCombSlots(state.combSlots, state.driver);
    TranslateKeySettings(state.image, state.keyBlock, state.defKeyBlock, state.keyPosMap,
                         state.combSlots, state.driver, inner);
  }
  void PostKeyReset(std::uint8_t) override {}
};

// Copies the input into dst, repeating it to fill dst; dst stays as it is without input.
void Fill(std::uint8_t* dst, std::size_t n, const std::uint8_t* src, std::size_t len) {
  for (std::size_t done = 0; len && done < n; done += len)
    std::copy_n(src, std::min(len, n - done), dst + done);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input in order: KeySetting records, macro count, slot table, nesting flag, key block;
  // what follows fills the macro and combination records. Missing bytes read as zero.
  constexpr std::size_t kSlotBytes = 8 * 9;
  constexpr std::size_t kHead = kKeySettingSize + 4 + kSlotBytes + 1 + KVKBD_KEY_BLOCK_SIZE;
  std::array<std::uint8_t, kHead> head{};
  std::copy(data, data + std::min(size, kHead), head.begin());
  const std::uint8_t* rest = data + std::min(size, kHead);
  const std::size_t restSize = size - std::min(size, kHead);

  auto state = std::make_unique<State>();
  const std::uint8_t* p = head.data();
  std::copy(p, p + kKeySettingSize, state->image.keySetting.begin());
  p += kKeySettingSize;
  // Action types mostly in 0..10, so that every branch is reached often.
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    KeySettingEntry r(state->image.keySetting, i);
    const std::int32_t type = r.actionType();
    if (type >= 0) r.SetAction(type % 11, r.param());
  }
  Fill(state->image.macroSetting.data(), kMacroCountOffset, rest, restSize);
  Fill(state->image.combSetting.data(), kCombSettingSize, rest, restSize);
  std::copy(p, p + 4, state->image.macroSetting.begin() + kMacroCountOffset);
  p += 4;
  for (std::size_t k = 0; k < kCombSlotCount; ++k, p += 9) {
    if (!(p[0] & 1)) continue;
    Combination c{};
    std::copy(p + 1, p + 9, c.begin());
    state->combSlots[k] = {1, c, static_cast<std::int32_t>(k + 1)};
  }
  const bool nest = *p++ & 1;
  std::copy(p, p + KVKBD_KEY_BLOCK_SIZE, state->keyBlock.begin());
  BuildFactoryKeyBlock(state->defKeyBlock, state->keyPosMap);

  const KeySettingImage before = state->image.keySetting;
  Host host(*state, nest);
  TranslateKeySettings(state->image, state->keyBlock, state->defKeyBlock, state->keyPosMap,
                       state->combSlots, state->driver, host);

  for (std::size_t k = 0; k < kCombSlotCount; ++k) {
    const CombSlotRecord& r = state->combSlots[k];
    Check(r == CombSlotRecord{} || (r.inUse == 1 && r.slot == static_cast<std::int32_t>(k + 1)));
  }
  // A record changes only by a reset to the default action, keeping its key code.
  KeySettingImage after = state->image.keySetting;
  KeySettingImage original = before;
  for (std::size_t i = 0; i < kKeySettingCount; ++i) {
    KeySettingEntry a(after, i);
    KeySettingEntry b(original, i);
    Check(a.keyCode() == b.keyCode());
    Check((a.actionType() == b.actionType() && a.param() == b.param()) ||
          (a.actionType() == kActionDefault && a.param() == 0));
  }
  return 0;
}
