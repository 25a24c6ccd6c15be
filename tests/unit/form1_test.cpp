// The main window, built from its stored layout and driven through its real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "forms/image.h"
#include "forms/text.h"
#include "test_support.h"
#include "ui/unit1.h"

namespace {

RECT Rect(HWND window) { return WindowRectIn(window, TestForm1().suiForm1->Handle()); }

void SetNormalSize(int width, int height) {
  HWND form = TestForm1().Handle();
  ShowWindow(form, SW_RESTORE);
  Pump();
  SetWindowPos(form, nullptr, 20, 20, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
}

struct NodeRow {
  int level;
  const char* text;
  int image;
};

// The topic tree as users see it, depth first.
const NodeRow kNodes[] = {
    {0, "2016报考指南", 0}, {0, "教材辅导在线订购", 0}, {0, "辅导课程和资料精选", 7}, {0, "保过班辅导课程", 0},
    {1, "《期货法律法规》网授保过班", 0}, {1, "《期货基础知识》网授保过班", 0}, {1, "《期货投资分析》网授保过班", 0},
    {0, "精讲班视频课程", 10}, {1, "《期货法律法规》网授精讲班", 0}, {1, "《期货基础知识》网授精讲班", 0},
    {1, "《期货投资分析》网授精讲班", 0}, {0, "真题解析班视频课程", 10}, {1, "《期货法律法规》真题解析班", 0},
    {1, "《期货基础知识》真题解析班", 0}, {0, "历年真题与模拟试题详解", 3},
    {1, "《期货法律法规》历年真题与模拟试题详解", 0}, {1, "《期货基础知识》历年真题与模拟试题详解", 0},
    {0, "考试题库", 0}, {1, "《期货法律法规》真题题库", 0}, {1, "《期货基础知识》真题题库", 0},
    {1, "《期货投资分析》真题题库", 0}, {0, "过关必做习题集", 0}, {1, "《期货法律法规》过关必做2000题", 0},
    {1, "《期货基础知识》过关必做2000题", 0}, {1, "《期货投资分析》过关必做1500题", 0}, {0, "教材精讲＋真题解析", 0},
    {1, "《期货基础知识》教材精讲＋真题解析", 0}, {1, "《期货投资分析》教材精讲＋真题解析", 0},
    {0, "VIP会员服务", 0}, {0, "在线咨询", 12}, {0, "联系我们", 9}, {0, "退出", 11},
};

}  // namespace

TEST(Form1, EverySixteenComponentsExistsWithItsWindow) {
  TForm1& f = TestForm1();
  ASSERT_TRUE(f.ImageList1 && f.suiForm1 && f.TreeView1 && f.GroupBox1 && f.WebBrowser1 && f.ApplicationEvents1 &&
              f.Image1 && f.webcount);
  TsuiButton* buttons[] = {f.suiButton1, f.suiButton2, f.suiButton3, f.suiButton4,
                           f.suiButton5, f.suiButton6, f.suiButton7, f.suiButton8};
  const char* captions[] = {"报考指南", "教材订购", "辅导课程", "历年真题", "考试题库", "论坛交流", "联系我们", "在线咨询"};
  const int lefts[] = {8, 110, 213, 316, 419, 522, 625, 728};
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(buttons[i]);
    EXPECT_EQ(buttons[i]->Caption(), captions[i]);
    RECT r = Rect(buttons[i]->Handle());
    EXPECT_EQ(r.left, lefts[i]);
    EXPECT_EQ(r.top, 28);
    EXPECT_EQ(r.right - r.left, 96);
    EXPECT_EQ(r.bottom - r.top, 73);
  }
  EXPECT_EQ(f.ImageList1->Count(), 13);
  EXPECT_TRUE(IsChild(f.GroupBox1->Handle(), f.WebBrowser1->Handle()));
  EXPECT_EQ(GetParent(f.webcount->Handle()), f.suiForm1->Handle());
  // The picture is decoded from the stored JPEG.
  EXPECT_EQ(f.Image1->Picture().width, 180);
  EXPECT_EQ(f.Image1->Picture().height, 66);
}

TEST(Form1, TreeHoldsTheTopicsAndOpensOnlyTheCourseGroupAtStart) {
  TForm1& f = TestForm1();
  TTreeNodes& items = f.TreeView1->Items();
  ASSERT_EQ(items.Count(), 32);
  for (int i = 0; i < 32; ++i) {
    TTreeNode& node = items.Item(i);
    EXPECT_EQ(node.Text(), kNodes[i].text) << i;
    EXPECT_EQ(node.Level(), kNodes[i].level) << i;
    EXPECT_EQ(node.ImageIndex(), kNodes[i].image) << i;
    EXPECT_EQ(node.SelectedIndex(), 0) << i;
    // The native items carry the same text.
    wchar_t text[256] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node.ItemId();
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(f.TreeView1->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), FromGbk(kNodes[i].text)) << i;
    EXPECT_EQ(item.iImage, kNodes[i].image) << i;
    EXPECT_EQ(item.iSelectedImage, 0) << i;
    bool group = i + 1 < 32 && kNodes[i + 1].level > kNodes[i].level;
    EXPECT_EQ(node.Expanded(), i == 3) << kNodes[i].text << (group ? " (group)" : "");
  }
  EXPECT_EQ(SelectedAfterBuild(), nullptr) << "the start-up step selects nothing";
  try {
    items.Item(32);
    ADD_FAILURE() << "a position beyond the last node was found";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid index");
  }
}

TEST(Form1, TreeSettings) {
  HWND tree = TestForm1().TreeView1->Handle();
  LONG style = GetWindowLongW(tree, GWL_STYLE);
  EXPECT_TRUE(style & TVS_SINGLEEXPAND);
  EXPECT_TRUE(style & TVS_DISABLEDRAGDROP);
  EXPECT_TRUE(style & TVS_HASBUTTONS);
  EXPECT_TRUE(style & TVS_HASLINES);
  EXPECT_TRUE(style & TVS_LINESATROOT);
  EXPECT_FALSE(style & TVS_EDITLABELS) << "read-only: no editor on F2";
  EXPECT_FALSE(style & TVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & TVS_NOTOOLTIPS);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_EQ(TreeView_GetBkColor(tree), RGB(0xC0, 0xDC, 0xC0));
  EXPECT_EQ(TreeView_GetTextColor(tree), RGB(0, 0, 0));
  EXPECT_EQ(TreeView_GetIndent(tree), 19u);
  // The 2-pixel border: the client area lies 2 pixels inside the window.
  RECT window, client;
  GetWindowRect(tree, &window);
  GetClientRect(tree, &client);
  EXPECT_EQ(window.right - window.left - client.right, 4);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(tree, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -14);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"\u5B8B\u4F53");
}

TEST(Form1, StartsMaximisedOverTheWorkAreaWithTheFocusInTheTree) {
  TForm1& f = TestForm1();
  ShowWindow(f.Handle(), SW_MAXIMIZE);
  Pump();
  RECT work, window;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(f.Handle(), &window);
  EXPECT_TRUE(IsZoomed(f.Handle()));
  EXPECT_TRUE(EqualRect(&work, &window));
  EXPECT_EQ(f.FirstTabStop(), f.TreeView1);
  SendMessageW(f.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), f.TreeView1->Handle());
}

TEST(Form1, ControlsFollowTheWindowByTheirAnchors) {
  TForm1& f = TestForm1();
  SetNormalSize(991, 673);
  RECT frame = WindowRectIn(f.suiForm1->Handle(), f.Handle());
  EXPECT_EQ(frame.left, 1);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 989);
  EXPECT_EQ(frame.bottom - frame.top, 672);

  HWND logo = f.Image1->Handle(), tree = f.TreeView1->Handle(), box = f.GroupBox1->Handle();
  HWND browser = f.WebBrowser1->Handle(), button = f.suiButton8->Handle();
  RECT logo0 = Rect(logo), tree0 = Rect(tree), box0 = Rect(box), button0 = Rect(button);
  RECT browser0 = WindowRectIn(browser, box);
  EXPECT_EQ(logo0.left, 989 - 151);
  EXPECT_EQ(box0.right, 989 - 7);
  EXPECT_EQ(tree0.bottom, 672 - 6);

  SetNormalSize(1091, 673);
  RECT logo1 = Rect(logo), tree1 = Rect(tree), box1 = Rect(box), button1 = Rect(button);
  RECT browser1 = WindowRectIn(browser, box);
  EXPECT_EQ(logo1.left, logo0.left + 100);
  EXPECT_EQ(logo1.right - logo1.left, 144);
  EXPECT_EQ(box1.right - box1.left, box0.right - box0.left + 100);
  EXPECT_EQ(browser1.right - browser1.left, browser0.right - browser0.left + 100);
  EXPECT_TRUE(EqualRect(&tree0, &tree1));
  EXPECT_TRUE(EqualRect(&button0, &button1));

  SetNormalSize(991, 773);
  RECT logo2 = Rect(logo), tree2 = Rect(tree), box2 = Rect(box), button2 = Rect(button);
  RECT browser2 = WindowRectIn(browser, box);
  EXPECT_EQ(tree2.bottom - tree2.top, tree0.bottom - tree0.top + 100);
  EXPECT_EQ(box2.bottom - box2.top, box0.bottom - box0.top + 100);
  EXPECT_EQ(browser2.bottom - browser2.top, browser0.bottom - browser0.top + 100);
  EXPECT_EQ(tree2.top, tree0.top);
  EXPECT_EQ(box2.top, box0.top);
  EXPECT_TRUE(EqualRect(&logo0, &logo2));
  EXPECT_TRUE(EqualRect(&button0, &button2));
}

TEST(Form1, SizeStaysWithinItsLimits) {
  TForm1& f = TestForm1();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const struct {
    int width, height, expect_width, expect_height;
  } cases[] = {
      {10, 10, 130, 50},
      {129, 49, 130, 50},
      {130, 50, 130, 50},
      {5000, 4000, work.right - work.left, work.bottom - work.top},
  };
  for (const auto& c : cases) {
    SetNormalSize(c.width, c.height);
    RECT r;
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.right - r.left, c.expect_width) << c.width;
    EXPECT_EQ(r.bottom - r.top, c.expect_height) << c.height;
  }
  SetNormalSize(991, 673);
}

TEST(Form1, TheCounterBrowserIsNeverInSight) {
  TForm1& f = TestForm1();
  for (int maximised = 0; maximised < 2; ++maximised) {
    if (maximised) ShowWindow(f.Handle(), SW_MAXIMIZE);
    else SetNormalSize(640, 480);
    Pump();
    RECT visible, counter, overlap;
    GetClientRect(f.Handle(), &visible);
    counter = WindowRectIn(f.webcount->Handle(), f.Handle());
    EXPECT_TRUE(IsWindowVisible(f.webcount->Handle()));
    EXPECT_FALSE(IntersectRect(&overlap, &visible, &counter)) << "maximised " << maximised;
  }
  SetNormalSize(991, 673);
}
