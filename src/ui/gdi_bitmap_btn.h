// The skinned image button: per-state images cut from whole-window skins, an optional caption,
// a hover look that follows the pointer, and a click on release wherever the pointer is.
#pragma once

#include <string>

#include "fw/owner_button.h"
#include "ui/skin.h"

namespace z4 {

class CGDIBitmapBtn : public fw::OwnerButton {
 public:
  // Cuts the four state images at rect (the button's rectangle in the owner's client
  // coordinates) out of the whole-window skins; the button loses WS_BORDER and WS_TABSTOP.
  void SetImages(const SkinBitmap& normal, const SkinBitmap& hover, const SkinBitmap& pressed,
                 const SkinBitmap& disabled, const RECT& rect);
  // Stores the caption (empty: image only) and repaints.
  void SetText(const std::wstring& text);

  COLORREF m_crTextNormal = RGB(0x58, 0x63, 0x69);
  COLORREF m_crTextHover = RGB(0x91, 0x9A, 0xA6);
  COLORREF m_crTextPressed = RGB(0x26, 0x1D, 0x05);

 protected:
  void PreSubclassWindow() override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnMouseMove(WPARAM keys, LPARAM pos);
  void OnLButtonUp();
  HWND OwnerOrParent() const;
  void Invalidate() { ::InvalidateRect(hwnd(), nullptr, TRUE); }
  // A state whose image is missing: a plain face, frame and (for image-only buttons) a cross.
  void DrawPlain(HDC dc, const RECT& rc, bool captioned) const;

  int m_bHover = 0;
  SkinBitmap m_bmpNormal;
  SkinBitmap m_bmpHover;
  SkinBitmap m_bmpPressed;
  SkinBitmap m_bmpDisabled;
  std::wstring m_strText;
};

// The caption font of the skinned windows: Arial, 14-pixel cell height, of the given weight.
HFONT CreateSkinFont(int weight);

}  // namespace z4
