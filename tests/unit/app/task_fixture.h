// The task core over fakes of every platform service, with its agent folder present.
#pragma once

#include <gtest/gtest.h>

#include "app/task_core.h"
#include "support/fake_driver.h"
#include "support/fake_host.h"
#include "support/fake_registry.h"
#include "support/fake_storage.h"

namespace z4::test {

inline const std::u16string kFolder = u"C:\\Z4\\";

struct TaskFixture : ::testing::Test {
  FakeDriver fake;
  CUSBDriver driver{fake};
  FakeHost host;
  FakeRegistry registry;
  FakeStorage storage;
  KorvuTaskCore core{{driver, registry, storage, host}};

  void SetUp() override { storage.folders.insert(kFolder); }
  // Creation with the given key layout codes; what it asked of the host is forgotten.
  bool Create(const KeyLayoutCodes& codes = {}) {
    const bool created = core.Create({kFolder, u"Profile", codes});
    host.calls.clear();
    return created;
  }
};

}  // namespace z4::test
