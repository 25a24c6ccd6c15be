#include "skin/draw.h"

#include "forms/image.h"

namespace {

class SourceDc {
 public:
  explicit SourceDc(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
  SourceDc(const SourceDc&) = delete;
  SourceDc& operator=(const SourceDc&) = delete;
  ~SourceDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

void DrawStretchedFace(HDC dc, const RECT& target, HBITMAP picture, COLORREF transparent) {
  if (!picture) return;
  SIZE size = BitmapSize(picture);
  SourceDc source(picture);
  int tw = target.right - target.left, th = target.bottom - target.top;
  // Corner quarters of the picture, clipped to half the target when it is smaller.
  int cw = size.cx / 2, ch = size.cy / 2;
  int kw = cw < tw / 2 ? cw : tw / 2, kh = ch < th / 2 ? ch : th / 2;
  // With an even size the middle is empty: stretch the pixels next to it.
  int mx = size.cx - 2 * cw > 0 ? 0 : 1, my = size.cy - 2 * ch > 0 ? 0 : 1;
  const int sx[4] = {0, cw - mx, size.cx - cw + mx, size.cx};
  const int sy[4] = {0, ch - my, size.cy - ch + my, size.cy};
  const int dx[4] = {target.left, target.left + kw, target.right - kw, target.right};
  const int dy[4] = {target.top, target.top + kh, target.bottom - kh, target.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      int w = dx[col + 1] - dx[col], h = dy[row + 1] - dy[row];
      int sw = sx[col + 1] - sx[col], sh = sy[row + 1] - sy[row];
      if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) continue;
      TransparentBlt(dc, dx[col], dy[row], w, h, source.Get(), sx[col], sy[row], sw, sh, transparent);
    }
  }
}

void DrawWithTopLeftTransparent(HDC dc, int x, int y, HBITMAP picture) {
  if (!picture) return;
  SIZE size = BitmapSize(picture);
  SourceDc source(picture);
  COLORREF key = GetPixel(source.Get(), 0, 0);
  TransparentBlt(dc, x, y, size.cx, size.cy, source.Get(), 0, 0, size.cx, size.cy, key);
}

void DrawStretched(HDC dc, const RECT& target, HBITMAP picture) {
  if (!picture) return;
  SIZE size = BitmapSize(picture);
  SourceDc source(picture);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
             source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
}
