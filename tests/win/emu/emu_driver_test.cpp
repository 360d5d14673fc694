// The emulated keyboard driver under Wine: the six requests with their exact sizes, the state
// they keep, the request log, unplugging, failing requests and the handle count.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/key_block.h"
#include "control/emu_keyboard.h"

namespace z4::e2e {
using namespace emu;
namespace {

using Bytes = std::vector<std::uint8_t>;

fw::FileHandle OpenKeyboard() {
  // As the agent opens it.
  return fw::FileHandle(CreateFileW(KVKBD_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

struct Answer {
  bool ok = false;
  DWORD error = 0;
  Bytes out;  // the bytes returned
};

Answer Request(const fw::FileHandle& h, DWORD code, const Bytes& in, DWORD outLen) {
  Answer a;
  Bytes out(outLen);
  Bytes input = in;
  DWORD got = 0;
  a.ok = DeviceIoControl(h.get(), code, input.empty() ? nullptr : input.data(),
                         static_cast<DWORD>(input.size()), out.empty() ? nullptr : out.data(),
                         outLen, &got, nullptr) != FALSE;
  a.error = a.ok ? 0 : GetLastError();
  out.resize(a.ok ? got : 0);
  a.out = out;
  return a;
}

Bytes Pattern(std::size_t n, std::uint8_t seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + 7 * i);
  return b;
}

// slot followed by a content pattern
Bytes SlotRequest(std::uint8_t slot, std::size_t contentSize, std::uint8_t seed) {
  Bytes b = Pattern(contentSize + 1, seed);
  b[0] = slot;
  return b;
}

template <std::size_t N>
Bytes ToBytes(const ByteImage<N>& image) {
  return Bytes(image.begin(), image.end());
}

template <std::size_t N>
ByteImage<N> ToImage(const Bytes& b) {
  ByteImage<N> image{};
  std::copy(b.begin(), b.begin() + N, image.begin());
  return image;
}

// Everything the keyboard stores, for before/after comparisons.
struct Stored {
  KeyBlockBytes keys{};
  std::vector<MacroSlotBytes> macros;
  std::vector<CombSlotBytes> combs;
  std::uint8_t rate = 0;
  bool operator==(const Stored& o) const {
    return keys == o.keys && macros == o.macros && combs == o.combs && rate == o.rate;
  }
};

Stored Snapshot(const EmuKeyboard& kbd) {
  Stored s;
  s.keys = kbd.GetKeyBlock();
  for (std::uint8_t m = 0; m < KVKBD_MACRO_SLOT_COUNT; ++m) s.macros.push_back(kbd.GetMacroSlot(m));
  for (std::uint8_t c = 1; c <= KVKBD_COMB_SLOT_COUNT; ++c) s.combs.push_back(kbd.GetCombSlot(c));
  s.rate = kbd.GetRate();
  return s;
}

class EmuDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kbd_.Reset();
    ASSERT_EQ(kbd_.OpenHandleCount(), 0u) << "a handle of an earlier test is still open";
  }
  void TearDown() override { kbd_.Reset(); }

  EmuKeyboard kbd_;
};

TEST_F(EmuDriverTest, ResetGivesTheFactoryStateAndAnEmptyLog) {
  kbd_.SetRate(2);
  kbd_.SetCombSlot(3, ToImage<8>(Pattern(8, 1)));
  kbd_.SetMacroSlot(11, ToImage<192>(Pattern(192, 1)));
  kbd_.Unplug();
  kbd_.Reset();

  const Stored s = Snapshot(kbd_);
  for (std::size_t i = 0; i < kKeyEntryCount; ++i) {
    const KeyEntry e = FactoryKeyEntry(i);
    const Bytes want = {e.kind, e.usage, e.arg1, e.arg2};
    EXPECT_EQ(Bytes(s.keys.begin() + 4 * i, s.keys.begin() + 4 * i + 4), want) << "entry " << i;
  }
  for (const auto& m : s.macros) EXPECT_EQ(m, MacroSlotBytes{});
  for (const auto& c : s.combs) EXPECT_EQ(c, CombSlotBytes{});
  EXPECT_EQ(s.rate, 0);
  EXPECT_TRUE(kbd_.ReadLog().empty());
  EXPECT_TRUE(OpenKeyboard()) << "plugged after reset";
}

TEST_F(EmuDriverTest, EachRequestKeepsWhatItWroteAndIsLogged) {
  fw::FileHandle h = OpenKeyboard();
  ASSERT_TRUE(h);

  const Bytes keys = Pattern(608, 3);
  const Bytes macro0 = SlotRequest(0, 192, 5), macro11 = SlotRequest(11, 192, 9);
  const Bytes comb1 = SlotRequest(1, 8, 11), comb8 = SlotRequest(8, 8, 13);
  const Bytes readComb8 = {8, 0, 0, 0, 0, 0, 0, 0, 0};

  EXPECT_TRUE(Request(h, IOCTL_KVKBD_SET_RATE, {8}, 0).ok);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_KEYS, keys, 0).ok);
  const Answer readKeys = Request(h, IOCTL_KVKBD_READ_KEYS, {}, 608);
  const Answer writeMacro0 = Request(h, IOCTL_KVKBD_WRITE_MACRO, macro0, 193);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_MACRO, macro11, 193).ok);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_COMB, comb1, 0).ok);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_COMB, comb8, 0).ok);
  const Answer readComb = Request(h, IOCTL_KVKBD_READ_COMB, readComb8, 9);

  EXPECT_EQ(readKeys.out, keys);
  EXPECT_EQ(writeMacro0.out, macro0) << "the macro answer echoes the request";
  Bytes wantComb(comb8.begin() + 1, comb8.end());
  wantComb.push_back(0);
  EXPECT_EQ(readComb.out, wantComb) << "bytes 0..7 are the slot's content";

  EXPECT_EQ(kbd_.GetRate(), 8);
  EXPECT_EQ(ToBytes(kbd_.GetKeyBlock()), keys);
  EXPECT_EQ(ToBytes(kbd_.GetMacroSlot(0)), Bytes(macro0.begin() + 1, macro0.end()));
  EXPECT_EQ(ToBytes(kbd_.GetMacroSlot(11)), Bytes(macro11.begin() + 1, macro11.end()));
  EXPECT_EQ(ToBytes(kbd_.GetCombSlot(1)), Bytes(comb1.begin() + 1, comb1.end()));
  EXPECT_EQ(kbd_.GetCombSlot(2), CombSlotBytes{});

  struct Want {
    std::uint32_t code;
    Bytes input;
    std::uint32_t outLen;
  };
  const std::vector<Want> want = {
      {IOCTL_KVKBD_SET_RATE, {8}, 0},           {IOCTL_KVKBD_WRITE_KEYS, keys, 0},
      {IOCTL_KVKBD_READ_KEYS, {}, 608},         {IOCTL_KVKBD_WRITE_MACRO, macro0, 193},
      {IOCTL_KVKBD_WRITE_MACRO, macro11, 193},  {IOCTL_KVKBD_WRITE_COMB, comb1, 0},
      {IOCTL_KVKBD_WRITE_COMB, comb8, 0},       {IOCTL_KVKBD_READ_COMB, readComb8, 9},
  };
  const auto log = kbd_.ReadLog();
  ASSERT_EQ(log.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(log[i].code, want[i].code);
    EXPECT_EQ(log[i].input, want[i].input);
    EXPECT_EQ(log[i].inputLength, want[i].input.size());
    EXPECT_EQ(log[i].outputLength, want[i].outLen);
    EXPECT_EQ(log[i].status, kStatusSuccess);
  }
}

TEST_F(EmuDriverTest, WrongSizesSlotsAndCodesFailChangeNothingAndAreLogged) {
  // Every slot and the rate hold something, so that any stray write shows.
  kbd_.SetRate(1);
  for (std::uint8_t m = 0; m < KVKBD_MACRO_SLOT_COUNT; ++m) {
    kbd_.SetMacroSlot(m, ToImage<192>(Pattern(192, m)));
  }
  for (std::uint8_t c = 1; c <= KVKBD_COMB_SLOT_COUNT; ++c) {
    kbd_.SetCombSlot(c, ToImage<8>(Pattern(8, c)));
  }
  const Stored before = Snapshot(kbd_);
  kbd_.ClearLog();

  struct Case {
    DWORD code;
    DWORD inLen;
    DWORD outLen;
    std::uint8_t slot;  // byte 0 of the input, when there is one
    DWORD error;
  };
  constexpr DWORD kBad = ERROR_INVALID_PARAMETER;
  constexpr DWORD kUnknown = ERROR_INVALID_FUNCTION;
  const Case cases[] = {
      {IOCTL_KVKBD_SET_RATE, 0, 0, 0, kBad},
      {IOCTL_KVKBD_SET_RATE, 2, 0, 2, kBad},
      {IOCTL_KVKBD_SET_RATE, 1, 1, 2, kBad},
      {IOCTL_KVKBD_WRITE_KEYS, 607, 0, 0, kBad},
      {IOCTL_KVKBD_WRITE_KEYS, 609, 0, 0, kBad},
      {IOCTL_KVKBD_WRITE_KEYS, 608, 608, 0, kBad},
      {IOCTL_KVKBD_READ_KEYS, 0, 607, 0, kBad},
      {IOCTL_KVKBD_READ_KEYS, 0, 609, 0, kBad},
      {IOCTL_KVKBD_READ_KEYS, 1, 608, 0, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 193, 0, 1, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 192, 193, 1, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 193, 192, 1, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 194, 194, 1, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 193, 193, 12, kBad},
      {IOCTL_KVKBD_WRITE_MACRO, 193, 193, 255, kBad},
      {IOCTL_KVKBD_WRITE_COMB, 8, 0, 1, kBad},
      {IOCTL_KVKBD_WRITE_COMB, 9, 9, 1, kBad},
      {IOCTL_KVKBD_WRITE_COMB, 9, 0, 0, kBad},
      {IOCTL_KVKBD_WRITE_COMB, 9, 0, 9, kBad},
      {IOCTL_KVKBD_READ_COMB, 9, 8, 1, kBad},
      {IOCTL_KVKBD_READ_COMB, 9, 0, 1, kBad},
      {IOCTL_KVKBD_READ_COMB, 8, 9, 1, kBad},
      {IOCTL_KVKBD_READ_COMB, 9, 9, 0, kBad},
      {IOCTL_KVKBD_READ_COMB, 9, 9, 9, kBad},
      {KVKBD_CTL_CODE(0x906), 1, 0, 1, kUnknown},
      {KVKBD_CTL_CODE(0x90A), 9, 9, 1, kUnknown},
      {IOCTL_KVKBD_TEST_UNPLUG, 0, 0, 0, kUnknown},  // test control only on \\.\kvkbdctl
  };

  fw::FileHandle h = OpenKeyboard();
  ASSERT_TRUE(h);
  for (const Case& c : cases) {
    Bytes in(c.inLen, 0xEE);
    if (!in.empty()) in[0] = c.slot;
    const Answer a = Request(h, c.code, in, c.outLen);
    EXPECT_FALSE(a.ok) << std::hex << c.code << " in " << std::dec << c.inLen << " out "
                       << c.outLen << " slot " << int(c.slot);
    EXPECT_EQ(a.error, c.error) << std::hex << c.code;
  }
  EXPECT_TRUE(Snapshot(kbd_) == before);
  EXPECT_TRUE(OpenKeyboard()) << "still plugged";

  const auto log = kbd_.ReadLog();
  ASSERT_EQ(log.size(), std::size(cases));
  for (std::size_t i = 0; i < log.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(log[i].code, cases[i].code);
    EXPECT_EQ(log[i].status, cases[i].error == kBad ? kStatusInvalidParameter
                                                    : kStatusInvalidDeviceRequest);
    EXPECT_EQ(log[i].inputLength, cases[i].inLen);
    EXPECT_EQ(log[i].outputLength, cases[i].outLen);
    EXPECT_EQ(log[i].input.size(), std::min<DWORD>(cases[i].inLen, 608));
  }
}

TEST_F(EmuDriverTest, ControlRequestsCheckTheirSizesToo) {
  fw::FileHandle ctl(CreateFileW(KVKBD_CTL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(ctl);
  struct Case {
    DWORD code;
    Bytes in;
    DWORD outLen;
  };
  const Case cases[] = {
      {IOCTL_KVKBD_TEST_SET_KEYS, Bytes(607), 0},
      {IOCTL_KVKBD_TEST_GET_KEYS, {}, 607},
      {IOCTL_KVKBD_TEST_SET_MACRO, SlotRequest(12, 192, 0), 0},
      {IOCTL_KVKBD_TEST_GET_MACRO, {12}, 192},
      {IOCTL_KVKBD_TEST_SET_COMB, SlotRequest(0, 8, 0), 0},
      {IOCTL_KVKBD_TEST_GET_COMB, {9}, 8},
      {IOCTL_KVKBD_TEST_READ_LOG, {0, 0, 0, 0}, KVKBD_LOG_HEADER_SIZE - 1},
      {IOCTL_KVKBD_TEST_READ_LOG, {0, 0}, KVKBD_LOG_HEADER_SIZE},
      {IOCTL_KVKBD_TEST_FAIL_CODES, Bytes(6), 0},
      {IOCTL_KVKBD_TEST_FAIL_CODES, Bytes(4 * (KVKBD_MAX_FAIL_CODES + 1)), 0},
      {IOCTL_KVKBD_TEST_HANDLES, {}, KVKBD_HANDLES_SIZE + 1},
      {IOCTL_KVKBD_READ_KEYS, {}, 608},  // the agent's requests only on \\.\kvkbd
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Request(ctl, c.code, c.in, c.outLen).ok) << std::hex << c.code;
  }
  EXPECT_EQ(kbd_.GetMacroSlot(11), MacroSlotBytes{});
  EXPECT_TRUE(kbd_.ReadLog().empty()) << "control requests are not logged";
}

TEST_F(EmuDriverTest, UnplugRefusesOpensAndKillsEarlierHandlesForGood) {
  fw::FileHandle before = OpenKeyboard();
  ASSERT_TRUE(before);
  kbd_.Unplug();
  EXPECT_FALSE(OpenKeyboard());
  const Answer whileOut = Request(before, IOCTL_KVKBD_READ_KEYS, {}, 608);
  EXPECT_FALSE(whileOut.ok);
  EXPECT_EQ(whileOut.error, static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));

  kbd_.Plug();
  EXPECT_FALSE(Request(before, IOCTL_KVKBD_READ_KEYS, {}, 608).ok) << "a removed handle stays dead";
  fw::FileHandle after = OpenKeyboard();
  ASSERT_TRUE(after);
  EXPECT_TRUE(Request(after, IOCTL_KVKBD_READ_KEYS, {}, 608).ok);

  const HandleCounts counts = kbd_.Handles();
  EXPECT_EQ(counts.open, 2u);
  EXPECT_EQ(counts.granted, 2u);
  const auto log = kbd_.ReadLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].status, kStatusDeviceNotConnected);
  EXPECT_EQ(log[1].status, kStatusDeviceNotConnected);
  EXPECT_EQ(log[2].status, kStatusSuccess);
}

TEST_F(EmuDriverTest, ChosenRequestsFailUntilTheListIsEmptied) {
  fw::FileHandle h = OpenKeyboard();
  ASSERT_TRUE(h);
  const KeyBlockBytes factory = kbd_.GetKeyBlock();
  kbd_.FailRequests({IOCTL_KVKBD_WRITE_KEYS, IOCTL_KVKBD_READ_COMB});

  const Answer write = Request(h, IOCTL_KVKBD_WRITE_KEYS, Pattern(608, 1), 0);
  EXPECT_FALSE(write.ok);
  EXPECT_EQ(write.error, static_cast<DWORD>(ERROR_IO_DEVICE));
  EXPECT_EQ(kbd_.GetKeyBlock(), factory);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_COMB, SlotRequest(2, 8, 1), 0).ok);
  EXPECT_FALSE(Request(h, IOCTL_KVKBD_READ_COMB, SlotRequest(2, 8, 0), 9).ok);

  kbd_.FailRequests({});
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_WRITE_KEYS, Pattern(608, 1), 0).ok);
  EXPECT_TRUE(Request(h, IOCTL_KVKBD_READ_COMB, SlotRequest(2, 8, 0), 9).ok);

  std::vector<std::uint32_t> statuses;
  for (const auto& r : kbd_.ReadLog()) statuses.push_back(r.status);
  EXPECT_EQ(statuses, (std::vector<std::uint32_t>{kStatusIoDeviceError, kStatusSuccess,
                                                  kStatusIoDeviceError, kStatusSuccess,
                                                  kStatusSuccess}));
}

TEST_F(EmuDriverTest, HandleCountFollowsOpensAndCloses) {
  fw::FileHandle first = OpenKeyboard();
  ASSERT_TRUE(first);
  EXPECT_EQ(kbd_.OpenHandleCount(), 1u);
  fw::FileHandle second(CreateFileW(KVKBD_DEVICE_PATH, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
  ASSERT_TRUE(second);
  EXPECT_EQ(kbd_.OpenHandleCount(), 2u);
  EmuKeyboard otherControl;
  EXPECT_EQ(otherControl.OpenHandleCount(), 2u) << "control handles are not counted";
  first.reset();
  EXPECT_EQ(kbd_.OpenHandleCount(), 1u);
  second.reset();
  EXPECT_EQ(kbd_.OpenHandleCount(), 0u);
  EXPECT_EQ(kbd_.Handles().granted, 2u);
}

TEST_F(EmuDriverTest, FullLogKeepsTheNewestRequestsAndCountsTheDropped) {
  fw::FileHandle h = OpenKeyboard();
  ASSERT_TRUE(h);
  constexpr std::uint32_t kExtra = 5;
  for (std::uint32_t i = 0; i < KVKBD_LOG_CAPACITY + kExtra; ++i) {
    ASSERT_TRUE(Request(h, IOCTL_KVKBD_SET_RATE, {static_cast<std::uint8_t>(i)}, 0).ok);
  }
  const auto log = kbd_.ReadLog();
  ASSERT_EQ(log.size(), KVKBD_LOG_CAPACITY);
  EXPECT_EQ(kbd_.DroppedCount(), kExtra);
  EXPECT_EQ(log.front().input, Bytes{kExtra});
  EXPECT_EQ(log.back().input, Bytes{static_cast<std::uint8_t>(KVKBD_LOG_CAPACITY + kExtra - 1)});

  kbd_.ClearLog();
  EXPECT_TRUE(kbd_.ReadLog().empty());
  EXPECT_EQ(kbd_.DroppedCount(), 0u);
}

}  // namespace
}  // namespace z4::e2e
