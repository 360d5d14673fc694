// An in-memory driver transport that records every request and fails the test on any request
// made while it is closed (the channel must test the handle before calling the platform).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/usb_driver.h"

namespace z4::test {

struct DriverRequest {
  std::uint32_t code;
  std::vector<std::uint8_t> input;
  std::uint32_t outSize;
};

class FakeDriver : public DriverTransport {
 public:
  bool OpenDevice() override {
    ++opens;
    if (open_) ADD_FAILURE() << "open while already open";
    open_ = openSucceeds;
    return open_;
  }
  void CloseDevice() override {
    if (!open_) ADD_FAILURE() << "close while closed";
    open_ = false;
  }
  bool IsDeviceOpen() const override { return open_; }
  bool Control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize,
               std::uint8_t* out, std::uint32_t outSize) override {
    if (!open_) ADD_FAILURE() << "request 0x" << std::hex << code << " while closed";
    requests.push_back({code, std::vector<std::uint8_t>(in, in + inSize), outSize});
    if (failAll) return false;
    if (code == IOCTL_KVKBD_READ_KEYS && outSize == KVKBD_KEY_BLOCK_SIZE) {
      const DeviceKeyBlock& b = blockReads.empty() ? block : blockReads.front();
      std::copy(b.begin(), b.end(), out);
      if (!blockReads.empty()) blockReads.erase(blockReads.begin());
    } else if (code == IOCTL_KVKBD_READ_COMB && outSize == KVKBD_COMB_REQ_SIZE) {
      const Combination& c = comb[in[0] & 7];
      std::copy(c.begin(), c.end(), out);
      out[8] = 0;
    }
    return true;
  }

  bool openSucceeds = true;
  bool failAll = false;
  int opens = 0;
  DeviceKeyBlock block{};                 // what a key block read returns
  std::vector<DeviceKeyBlock> blockReads;  // answers for the next reads, before block
  std::array<Combination, 8> comb{};      // slot s answers comb[s % 8]
  std::vector<DriverRequest> requests;

  std::vector<std::uint32_t> Codes() const {
    std::vector<std::uint32_t> c;
    for (const auto& r : requests) c.push_back(r.code);
    return c;
  }

 private:
  bool open_ = false;
};

}  // namespace z4::test
