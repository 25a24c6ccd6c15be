// The skin on real windows: button faces, the title bar and its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "forms/image.h"
#include "skin/draw.h"
#include "test_support.h"
#include "ui/unit1.h"

namespace {

// A control rendered through WM_PRINTCLIENT into 32-bit pixels.
struct Rendering {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Rendering Render(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  Rendering out;
  out.width = client.right;
  out.height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, out.width, out.height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  out.pixels.resize(static_cast<size_t>(out.width * out.height));
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.pixels[static_cast<size_t>(y * out.width + x)] = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return out;
}

// The colour of each pixel of a bitmap resource.
std::vector<COLORREF> Pixels(const char* resource, SIZE& size) {
  GdiObject<HBITMAP> bitmap(LoadBitmapResource(resource));
  size = BitmapSize(bitmap.Get());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap.Get());
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

TEST(Skin, FaceDrawingKeepsCornersStretchesTheRestAndLeavesMagentaOut) {
  // A 5x5 picture: magenta top-left pixel, a red top-right quarter, a green
  // middle column, blue elsewhere.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, 5, 5);
  HBITMAP target = CreateCompatibleBitmap(screen, 12, 10);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, picture);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      SetPixel(dc, x, y, x >= 3 && y < 2 ? RGB(255, 0, 0) : x == 2 ? RGB(0, 255, 0) : RGB(0, 0, 255));
  SetPixel(dc, 0, 0, kFaceTransparent);
  SelectObject(dc, target);
  RECT all{0, 0, 12, 10};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawStretchedFace(dc, all, picture, kFaceTransparent);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));  // magenta: the background stays
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 11, 0), RGB(255, 0, 0));     // corner quarter kept at the corner
  EXPECT_EQ(GetPixel(dc, 10, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 6, 5), RGB(0, 255, 0));      // the middle column is stretched
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 9, 8), RGB(0, 255, 0));

  // An even size has no middle: the pixels next to it fill the room.
  HBITMAP even = CreateCompatibleBitmap(dc, 4, 4);
  SelectObject(dc, even);
  RECT four{0, 0, 4, 4};
  FillRect(dc, &four, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, target);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawStretchedFace(dc, all, even, kFaceTransparent);
  EXPECT_EQ(GetPixel(dc, 6, 5), RGB(0, 0, 0));
  DeleteObject(even);
  SelectObject(dc, old);
  DeleteObject(picture);
  DeleteObject(target);
  DeleteDC(dc);
}

TEST(Skin, ButtonFacesForNormalMouseOnAndPressed) {
  TForm1& f = TestForm1();
  HWND button = f.suiButton1->Handle();
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  Rendering normal = Render(button);
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(48, 36));
  Rendering hot = Render(button);
  TNotifyEvent saved = f.suiButton1->OnClick;
  f.suiButton1->OnClick = nullptr;  // pressing must not run the command here
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 36));
  Rendering down = Render(button);
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));  // released outside: no click
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  SetFocus(f.TreeView1->Handle());

  // The faces differ in the middle of the button, away from glyph and caption.
  EXPECT_NE(normal.At(8, 36), hot.At(8, 36));
  EXPECT_NE(hot.At(8, 36), down.At(8, 36));

  SIZE glyph_size;
  std::vector<COLORREF> glyph = Pixels("GLYPH1", glyph_size);
  ASSERT_EQ(glyph_size.cx, 32);
  ASSERT_EQ(glyph[0], RGB(0, 0, 0)) << "the top-left pixel is the transparent colour";
  // Finds where the glyph's opaque pixels stand in a rendering: left and top.
  auto place = [&](const Rendering& r) {
    for (int top = 0; top + 32 <= r.height; ++top)
      for (int left = 30; left <= 34; ++left) {
        bool all = true;
        for (int i = 0; i < 32 * 32 && all; ++i)
          if (glyph[static_cast<size_t>(i)] != RGB(0, 0, 0))
            all = r.At(left + i % 32, top + i / 32) == glyph[static_cast<size_t>(i)];
        if (all) return POINT{left, top};
      }
    return POINT{-1, -1};
  };
  POINT at = place(normal);
  ASSERT_EQ(at.x, 32) << "the glyph is centred: (96 - 32) / 2";
  EXPECT_GT(at.y, 0);
  EXPECT_LT(at.y, (73 - 32) / 2) << "glyph and caption are centred as one block";
  POINT pressed_at = place(down);
  EXPECT_EQ(pressed_at.x, at.x + 1);
  EXPECT_EQ(pressed_at.y, at.y + 1);
  // Black glyph pixels are not drawn: the face shows through them.
  int clear = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    if (glyph[static_cast<size_t>(i)] != RGB(0, 0, 0)) continue;
    ++clear;
    EXPECT_NE(normal.At(at.x + i % 32, at.y + i / 32), RGB(0, 0, 0)) << i;
  }
  EXPECT_GT(clear, 100);
  f.suiButton1->OnClick = saved;
}

TEST(Skin, ButtonClicksOncePerPressAndReleaseInsideAndOnSpaceOrEnter) {
  TForm1& f = TestForm1();
  TsuiButton* button = f.suiButton2;
  TNotifyEvent saved = button->OnClick;
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  HWND w = button->Handle();
  const struct {
    const char* what;
    std::vector<std::pair<UINT, LPARAM>> messages;
    int expected;
  } cases[] = {
      {"click", {{WM_LBUTTONDOWN, MAKELPARAM(10, 10)}, {WM_LBUTTONUP, MAKELPARAM(12, 12)}}, 1},
      {"released outside", {{WM_LBUTTONDOWN, MAKELPARAM(10, 10)}, {WM_LBUTTONUP, MAKELPARAM(300, 12)}}, 0},
      {"double click",
       {{WM_LBUTTONDOWN, MAKELPARAM(10, 10)}, {WM_LBUTTONUP, MAKELPARAM(10, 10)},
        {WM_LBUTTONDOWN, MAKELPARAM(10, 10)}, {WM_LBUTTONUP, MAKELPARAM(10, 10)}},
       2},
      {"release without press", {{WM_LBUTTONUP, MAKELPARAM(10, 10)}}, 0},
  };
  for (const auto& c : cases) {
    clicks = 0;
    for (const auto& [message, point] : c.messages) SendMessageW(w, message, 0, point);
    EXPECT_EQ(clicks, c.expected) << c.what;
  }
  EXPECT_EQ(GetFocus(), w) << "a click gives the button the focus";
  for (WPARAM key : {VK_SPACE, VK_RETURN}) {
    clicks = 0;
    SendMessageW(w, WM_KEYDOWN, key, 1);
    EXPECT_EQ(clicks, 0) << "not on the press";
    SendMessageW(w, WM_KEYUP, key, 0xC0000001);
    EXPECT_EQ(clicks, 1) << key;
  }
  button->OnClick = saved;
  SetFocus(f.TreeView1->Handle());
}

TEST(Skin, TitleBarButtonsCaptionAndDoubleClick) {
  TForm1& f = TestForm1();
  ShowWindow(f.Handle(), SW_MAXIMIZE);
  Pump();
  TsuiTitleBar* bar = f.suiForm1->TitleBar();
  RECT r;
  GetClientRect(bar->Handle(), &r);
  int w = r.right;
  EXPECT_EQ(r.bottom, 23);
  EXPECT_EQ(w, f.suiForm1->Width());
  const int expected[] = {3, w - 19, w - 37, w - 55};  // control box, close, maximise, minimise
  for (size_t i = 0; i < 4; ++i) {
    RECT b = bar->ButtonRect(i, w);
    EXPECT_EQ(b.left, expected[i]) << i;
    EXPECT_EQ(b.top, 4) << i;
  }

  // Close makes the close request on release over the button.
  TCloseQueryEvent saved = f.OnCloseQuery;
  int asked = 0;
  f.OnCloseQuery = [&](TObject*, bool& can_close) {
    ++asked;
    can_close = false;  // keep the test's window
  };
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 19 + 8, 12));
  SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(w - 19 + 8, 12));
  EXPECT_EQ(asked, 1);
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 19 + 8, 12));
  SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(w - 120, 12));  // released elsewhere
  EXPECT_EQ(asked, 1);
  f.OnCloseQuery = saved;

  // A double-click on the bar outside the buttons switches maximised and normal.
  SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 12));
  Pump();
  EXPECT_FALSE(IsZoomed(f.Handle()));
  GetClientRect(bar->Handle(), &r);
  SendMessageW(bar->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 12));
  Pump();
  EXPECT_TRUE(IsZoomed(f.Handle()));

  // The caption is black while the window is active, clInactiveCaption otherwise.
  auto caption_pixels = [&](COLORREF colour) {
    Rendering title = Render(bar->Handle());
    int n = 0;
    for (int y = 0; y < 23; ++y)
      for (int x = 25; x < 300; ++x) n += title.At(x, y) == colour;
    return n;
  };
  COLORREF inactive = GetSysColor(COLOR_INACTIVECAPTION);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_GT(caption_pixels(RGB(0, 0, 0)), 50);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(caption_pixels(RGB(0, 0, 0)), 0);
  EXPECT_GT(caption_pixels(inactive), 50);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
}

TEST(Skin, EdgesResizeAndTheTitleBarMovesTheNormalWindow) {
  TForm1& f = TestForm1();
  HWND form = f.Handle();
  ShowWindow(form, SW_RESTORE);
  Pump();
  SetWindowPos(form, nullptr, 100, 50, 800, 600, SWP_NOZORDER);
  Pump();
  HWND frame = f.suiForm1->Handle();
  HWND bar = f.suiForm1->TitleBar()->Handle();
  auto drag = [&](HWND window, POINT from, POINT to) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
  };
  RECT r;
  // The frame starts 1 pixel in from the window's left edge: frame x 2 is window x 3.
  drag(frame, POINT{2, 300}, POINT{-28, 300});
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.right - r.left, 830);
  drag(frame, POINT{400, 595}, POINT{400, 545});  // bottom band
  GetWindowRect(form, &r);
  EXPECT_EQ(r.bottom - r.top, 550);
  drag(frame, POINT{400, 300}, POINT{500, 300});  // inside: nothing
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.right - r.left, 830);
  // The bottom-right corner cannot make the window smaller than its limits.
  drag(frame, POINT{826, 547}, POINT{-2000, -2000});
  GetWindowRect(form, &r);
  EXPECT_EQ(r.right - r.left, 130);
  EXPECT_EQ(r.bottom - r.top, 50);
  SetWindowPos(form, nullptr, 100, 50, 800, 600, SWP_NOZORDER);
  Pump();

  drag(bar, POINT{300, 10}, POINT{340, 30});  // the title bar moves the window
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, 140);
  EXPECT_EQ(r.top, 70);
  EXPECT_EQ(r.right - r.left, 800);

  ShowWindow(form, SW_MAXIMIZE);
  Pump();
  RECT before;
  GetWindowRect(form, &before);
  drag(bar, POINT{300, 10}, POINT{340, 30});
  drag(frame, POINT{2, 300}, POINT{-28, 300});
  GetWindowRect(form, &r);
  EXPECT_TRUE(EqualRect(&r, &before)) << "a maximised window neither moves nor resizes";
}

TEST(Skin, TitleButtonsShowTheirMouseOnPicture) {
  TForm1& f = TestForm1();
  HWND bar = f.suiForm1->TitleBar()->Handle();
  RECT r;
  GetClientRect(bar, &r);
  int x = r.right - 19;
  SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(5, 12));  // away from the buttons
  Rendering normal = Render(bar);
  SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(x + 8, 12));
  Rendering hot = Render(bar);
  SendMessageW(bar, WM_MOUSELEAVE, 0, 0);
  int differ = 0;
  for (int y = 4; y < 21; ++y)
    for (int dx = 0; dx < 17; ++dx) differ += normal.At(x + dx, y) != hot.At(x + dx, y);
  EXPECT_GT(differ, 10) << "the close button shows its cross while the pointer is over it";
}
