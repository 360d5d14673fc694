// The progress window's bar: a child window that draws an empty bar image and, left of the
// position's share of its width, the filled bar image; it takes no input.
#pragma once

#include <memory>

#include "fw/window.h"
#include "ui/gdiplus_api.h"

namespace z4 {

class CPngHProgressBar : public fw::Window {
 public:
  static constexpr UINT kControlId = 2049;

  // Creates the bar at rect in parent's client coordinates, range 0..10, position 0.
  bool Create(const RECT& rect, HWND parent);
  // Copies the area (x, y, width, height) of the sources as the fill and back images; an
  // absent or unusable source leaves that image absent.
  void SetImages(Gdiplus::Bitmap* fillSource, int x, int y, int width, int height,
                 Gdiplus::Bitmap* backSource);
  // Stores the range; min must be below max. No repaint.
  void SetRange(int min, int max);
  // A position outside the range becomes the minimum; repaints before returning.
  void SetPos(int pos);

  int GetPos() const { return m_nPos; }
  // Filled width in pixels for the current position.
  int FillWidth() const;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnPaint();

  std::unique_ptr<Gdiplus::Bitmap> m_pBackImage;
  std::unique_ptr<Gdiplus::Bitmap> m_pFillImage;
  RECT m_rcBar{};
  int m_nMin = 0;
  int m_nMax = 10;
  int m_nPos = 0;
};

}  // namespace z4
