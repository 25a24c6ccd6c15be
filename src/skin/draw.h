// Drawing helpers of the skin.
#pragma once

#include <windows.h>

// Magenta marks the pixels of a face picture that are not drawn.
constexpr COLORREF kFaceTransparent = RGB(255, 0, 255);

// Draws `picture` over `target`, keeping its four corner quarters as they are and
// stretching its edges and middle; pixels of `transparent` are left out.
void DrawStretchedFace(HDC dc, const RECT& target, HBITMAP picture, COLORREF transparent);
// Draws `picture` at (x, y) leaving out every pixel of the colour of its top-left pixel.
void DrawWithTopLeftTransparent(HDC dc, int x, int y, HBITMAP picture);
// Copies `picture` stretched to `target` (no transparency).
void DrawStretched(HDC dc, const RECT& target, HBITMAP picture);
