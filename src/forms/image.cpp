#include "forms/image.h"

#include <vector>

#include "forms/errors.h"
#include "forms/text.h"

HBITMAP LoadBitmapResource(const std::string& name) {
  auto* bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), FromGbk(name).c_str(),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) throw Exception("EResNotFound", "Resource " + name + " not found");
  return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

bool TImage::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "Picture") {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, FromGbk(value.text).c_str(), MAKEINTRESOURCEW(10));
    if (!info) throw Exception("EResNotFound", "Resource " + value.text + " not found");
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, info)));
    if (!DecodeJpeg(data, SizeofResource(module, info), picture_))
      throw Exception("EInvalidGraphic", "JPEG error #53");
  } else if (name == "Stretch") {
    stretch_ = value.IsIdentifier("True");
  } else if (name == "Transparent") {
    // A JPEG picture has no transparent pixels: the picture covers the control.
  } else {
    return TWinControl::SetProperty(name, value, context);
  }
  return true;
}

void TImage::Paint(HDC dc, const RECT& rect) {
  if (picture_.pixels.empty()) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture_.width;
  info.bmiHeader.biHeight = -picture_.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  int width = stretch_ ? rect.right - rect.left : picture_.width;
  int height = stretch_ ? rect.bottom - rect.top : picture_.height;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, picture_.width, picture_.height,
                picture_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT TImage::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP: {
      bool was_pressed = pressed_;
      pressed_ = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      if (was_pressed && ClientContains(MousePoint(lparam))) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      break;
    default:
      break;
  }
  return TCustomControl::WndProc(message, wparam, lparam);
}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

bool TImageList::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  int n = static_cast<int>(value.integer);
  if (name == "Width") width_ = n;
  else if (name == "Height") height_ = n;
  else if (name == "AllocBy") alloc_by_ = n;
  else if (name == "Count") count_ = n;
  else if (name == "Bitmap") bitmap_ = value.text;
  else if (name == "Mask") mask_ = value.text;
  else return TComponent::SetProperty(name, value, context);
  return true;
}

void TImageList::Loaded() {
  if (bitmap_.empty()) return;
  // The stored pictures lie in rows of a square sheet; the list takes one strip.
  GdiObject<HBITMAP> sheet(LoadBitmapResource(bitmap_));
  GdiObject<HBITMAP> mask_sheet(LoadBitmapResource(mask_));
  int columns = BitmapSize(sheet.Get()).cx / width_;
  if (columns <= 0 || count_ <= 0) throw Exception("EInvalidOperation", "Invalid image size");

  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> strip(CreateCompatibleBitmap(screen, width_ * count_, height_));
  GdiObject<HBITMAP> mask_strip(CreateBitmap(width_ * count_, height_, 1, 1, nullptr));
  HDC source = CreateCompatibleDC(screen);
  HDC target = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  auto cut = [&](HBITMAP from, HBITMAP to) {
    HGDIOBJ old_source = SelectObject(source, from);
    HGDIOBJ old_target = SelectObject(target, to);
    for (int i = 0; i < count_; ++i)
      BitBlt(target, i * width_, 0, width_, height_, source, (i % columns) * width_,
             (i / columns) * height_, SRCCOPY);
    SelectObject(target, old_target);
    SelectObject(source, old_source);
  };
  cut(sheet.Get(), strip.Get());
  cut(mask_sheet.Get(), mask_strip.Get());
  DeleteDC(source);
  DeleteDC(target);

  handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, count_ + 1, alloc_by_);
  ImageList_Add(handle_, strip.Get(), mask_strip.Get());
}
