// RAII owners for the Windows handles the agent holds: each releases its handle exactly once.
#pragma once

#include <utility>

#include "fw/win32.h"

namespace fw {

// Owner of one handle described by Traits: Traits::Handle, Traits::Invalid(), Traits::Release().
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  Owned& operator=(Owned&& o) noexcept {
    reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~Owned() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  void reset(Handle h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Release(h_);
    h_ = h;
  }
  Handle release() { return std::exchange(h_, Traits::Invalid()); }

 private:
  Handle h_ = Traits::Invalid();
};

template <typename H, auto ReleaseFn>
struct NullIsInvalid {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle h) { ReleaseFn(h); }
};

// CreateFile reports failure as INVALID_HANDLE_VALUE, most other calls as NULL.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle h) { ::CloseHandle(h); }
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void UnregisterDeviceNotify(HDEVNOTIFY h) { ::UnregisterDeviceNotification(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }

using FileHandle = Owned<FileTraits>;
using KernelHandle = Owned<NullIsInvalid<HANDLE, CloseKernelHandle>>;
using IconHandle = Owned<NullIsInvalid<HICON, DestroyIconHandle>>;
using DeviceNotifyHandle = Owned<NullIsInvalid<HDEVNOTIFY, UnregisterDeviceNotify>>;
using GdiObject = Owned<NullIsInvalid<HGDIOBJ, DeleteGdiObject>>;
using MenuHandle = Owned<NullIsInvalid<HMENU, DestroyMenuHandle>>;

}  // namespace fw
