// Translation of the KeySetting records into the device key block, placing the combinations and
// macros that the assignments need into the driver's slots.
#pragma once

#include <cstdint>

#include "device/key_block.h"
#include "device/usb_driver.h"
#include "settings/settings_image.h"
#include "settings/slots.h"

namespace z4 {

// Action types of a KeySettingEntry.
enum ActionType : std::int32_t {
  kActionDefault = 1,
  kActionSystemShortcut = 2,
  kActionMouse = 3,
  kActionMacro = 4,
  kActionConsumer = 5,
  kActionEditShortcut = 6,
  kActionConsumer2 = 7,
  kActionCombination = 8,
  kActionSingleKey = 9,
};

// Who owns the combination warning dialog.
enum class WarningOwner { TaskWindow, None };

// What the translation asks of the task window.
class TranslateHost {
 public:
  virtual ~TranslateHost() = default;
  // Shows the combination warning dialog CDlgRestore modally, with the task window as parent or
  // none, and returns once it is closed, however that was. Its modal loop may run a whole
  // nested apply meanwhile.
  virtual void ShowCombWarning(WarningOwner owner) = 0;
  // Posts WM_KEY_RESET to the configuration window: wParam the task window, lParam keyCode.
  virtual void PostKeyReset(std::uint8_t keyCode) = 0;
};

// Translates records 0..91 of image.keySetting into keyBlock in order. Combination entries
// take slots through AllocCombSlot; the ninth distinct combination shows the warning, resets
// its record to the default action in image.keySetting (not in the registry), posts the reset
// and ends the pass. A macro index outside the macro count (or 0..99) is reset the same way,
// without the warning, and the key gets macro slot 1; a combination index outside 0..99 leaves
// the entry as it is.
void TranslateKeySettings(SettingsImage& image, DeviceKeyBlock& keyBlock,
                          const DeviceKeyBlock& defKeyBlock, const KeyPosMap& keyPosMap,
                          CombSlotTable& combSlots, CUSBDriver& driver, TranslateHost& host);

}  // namespace z4
