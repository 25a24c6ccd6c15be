// Pictures: bitmaps from the program's resources, the logo control and image lists.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "forms/controls.h"
#include "forms/jpeg_decoder.h"

// A bitmap resource as a DIB section; throws EResNotFound when it is missing.
HBITMAP LoadBitmapResource(const std::string& name);
SIZE BitmapSize(HBITMAP bitmap);

// TImage: shows a JPEG picture from the resources, stretched to the control.
class TImage : public TCustomControl {
 public:
  explicit TImage(TComponent* owner) : TCustomControl(owner) {}
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  bool InTabList() const override { return false; }
  const DecodedImage& Picture() const { return picture_; }
  void Paint(HDC dc, const RECT& rect) override;

 protected:
  const wchar_t* WindowClass() const override { return L"TImage"; }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  DecodedImage picture_;
  bool stretch_ = false;
  bool pressed_ = false;
};

// TImageList: pictures of one size, each with a transparency mask.
class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner) : TComponent(owner) {}
  ~TImageList() override;
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  void Loaded() override;
  HIMAGELIST Handle() const { return handle_; }
  int Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

 private:
  int width_ = 16, height_ = 16, alloc_by_ = 4, count_ = 0;
  std::string bitmap_, mask_;
  HIMAGELIST handle_ = nullptr;
};
