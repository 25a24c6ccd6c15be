// Colours, fonts and cursors as the stored layout names them.
#pragma once

#include <windows.h>

#include <string>

#include "forms/layout.h"

// A colour is 0x00BBGGRR, or a system colour: 0x80000000 plus the COLOR_ index.
using TColor = DWORD;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clBtnFace = 0x80000000 | COLOR_BTNFACE;
constexpr TColor clWindowText = 0x80000000 | COLOR_WINDOWTEXT;
constexpr TColor clInactiveCaption = 0x80000000 | COLOR_INACTIVECAPTION;

COLORREF ColorToRGB(TColor color);
// Reads a colour value: a number or a named colour. Throws on an unknown name.
TColor ColorFromLayout(const LayoutValue& value);
// crHandPoint, crDefault ...; throws on an unknown name.
LPCWSTR CursorFromLayout(const LayoutValue& value);

struct TFont {
  std::string name = "MS Sans Serif";  // GBK
  int height = -11;                    // negative: character height in pixels
  TColor color = clWindowText;
  bool bold = false;
  BYTE charset = DEFAULT_CHARSET;

  // Font.Name, Font.Height ... ; `sub` is the part after "Font.". False if unknown.
  bool SetProperty(const std::string& sub, const LayoutValue& value);
  HFONT Create() const;  // caller owns the result
};

// Owns one GDI object.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ~GdiObject() { Reset(); }
  T Get() const { return handle_; }
  T Release() {
    T h = handle_;
    handle_ = nullptr;
    return h;
  }
  void Reset(T handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  T handle_ = nullptr;
};

// Selects an object into a DC for the lifetime of the guard.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC with a compatible bitmap, for flicker-free painting.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC reference, int width, int height);
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  ~MemoryCanvas();
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_;
};
