// A memory DC with one GDI object selected into it, restored and deleted on scope exit.
#pragma once

#include "fw/win32.h"

namespace z4 {

class MemoryDC {
 public:
  MemoryDC(HDC reference, HGDIOBJ object) : dc_(::CreateCompatibleDC(reference)) {
    if (dc_) old_ = ::SelectObject(dc_, object);
  }
  ~MemoryDC() {
    if (!dc_) return;
    ::SelectObject(dc_, old_);
    ::DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace z4
