// Skin helpers shared by the skinned windows: the skin folder beside the program, skin bitmaps
// loaded from image files, and cutting a control's rectangle out of a whole-window skin.
#pragma once

#include <string>

#include "fw/handles.h"

namespace z4 {

inline void DeleteBitmapHandle(HBITMAP h) { ::DeleteObject(h); }
// A GDI bitmap owned by its holder: replacing or destroying the holder deletes it.
using SkinBitmap = fw::Owned<fw::NullIsInvalid<HBITMAP, DeleteBitmapHandle>>;

// The running program's folder with a trailing backslash.
std::wstring GetProgramFolder();
// Program folder, "skins\", then the file name.
std::wstring SkinPath(const wchar_t* fileName);

// Decodes the image file at path (OLE picture loading) into a bitmap that dest owns. A missing,
// unreadable or undecodable file leaves dest without a bitmap and returns false.
bool LoadSkinBitmap(const std::wstring& path, SkinBitmap& dest);

// Makes dest a new bitmap, compatible with referenceDC, of the source's pixels in rect. An empty
// source leaves dest unchanged.
void CutBitmap(SkinBitmap& dest, HDC referenceDC, const SkinBitmap& source, const RECT& rect);

// Width and height of a bitmap in pixels; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace z4
