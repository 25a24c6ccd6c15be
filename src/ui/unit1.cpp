#include "ui/unit1.h"

#include "links/course_links.h"
#include "ui/links.h"
#include "ui/program_folder.h"

TForm1* Form1 = nullptr;

namespace {

// The local pages, 8-bit names in code page 936.
const char kGuidePage[] = "data\\报考指南.htm";
const char kCoursePage[] = "data\\课程资料.htm";
const char kContactPage[] = "data\\联系我们.htm";

// The tree entries with fixed actions; every other entry is a course link.
const char kGuideEntry[] = "2016报考指南";
const char kCourseEntry[] = "辅导课程和资料精选";
const char kConsultationEntry[] = "在线咨询";
const char kContactEntry[] = "联系我们";
const char kExitEntry[] = "退出";

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  SetWindowClassName(L"TForm1");
  PublishField("ImageList1", ImageList1);
  PublishField("suiForm1", suiForm1);
  PublishField("TreeView1", TreeView1);
  PublishField("GroupBox1", GroupBox1);
  PublishField("WebBrowser1", WebBrowser1);
  PublishField("ApplicationEvents1", ApplicationEvents1);
  PublishField("suiButton1", suiButton1);
  PublishField("suiButton2", suiButton2);
  PublishField("suiButton3", suiButton3);
  PublishField("suiButton4", suiButton4);
  PublishField("suiButton5", suiButton5);
  PublishField("suiButton6", suiButton6);
  PublishField("suiButton7", suiButton7);
  PublishField("suiButton8", suiButton8);
  PublishField("Image1", Image1);
  PublishField("webcount", webcount);

  auto notify = [this](void (TForm1::*method)(TObject*)) {
    return PublishedMethod(TNotifyEvent([this, method](TObject* sender) { (this->*method)(sender); }));
  };
  PublishMethod("TreeView1Click", notify(&TForm1::TreeView1Click));
  PublishMethod("FormCreate", notify(&TForm1::FormCreate));
  PublishMethod("ApplicationEvents1Message",
                TMessageEvent([this](MSG& msg, bool& handled) { ApplicationEvents1Message(msg, handled); }));
  PublishMethod("suiButton1Click", notify(&TForm1::suiButton1Click));
  PublishMethod("suiButton2Click", notify(&TForm1::suiButton2Click));
  PublishMethod("suiButton3Click", notify(&TForm1::suiButton3Click));
  PublishMethod("suiButton4Click", notify(&TForm1::suiButton4Click));
  PublishMethod("suiButton5Click", notify(&TForm1::suiButton5Click));
  PublishMethod("suiButton6Click", notify(&TForm1::suiButton6Click));
  PublishMethod("suiButton7Click", notify(&TForm1::suiButton7Click));
  PublishMethod("suiButton8Click", notify(&TForm1::suiButton8Click));
  PublishMethod("Image1Click", notify(&TForm1::Image1Click));
  PublishMethod("FormCloseQuery", TCloseQueryEvent([this](TObject* sender, bool& can_close) {
                  FormCloseQuery(sender, can_close);
                }));
}

void TForm1::ShowLocalPage(const std::string& page_name) {
  WebBrowser1->Navigate(LocalPageAddress(page_name));
}

void TForm1::FormCreate(TObject*) {
  ShowLocalPage(kCoursePage);
  webcount->SetSilent();
  webcount->Navigate(links::kCountAddress);
  for (int position = 0; position <= 4; ++position) TreeView1->Items().Item(position).SetExpanded(true);
}

// Keeps the right button and context-menu requests away from the page: the
// windows that show the page lie below the main browser's own window.
void TForm1::ApplicationEvents1Message(MSG& Msg, bool& Handled) {
  if (!IsChild(WebBrowser1->Handle(), Msg.hwnd)) return;
  Handled = Msg.message == WM_CONTEXTMENU || Msg.message == WM_RBUTTONDOWN || Msg.message == WM_RBUTTONUP;
}

void TForm1::TreeView1Click(TObject*) {
  TTreeNode* node = TreeView1->Selected();
  if (!node) return;  // nothing selected yet: nothing to act on
  const std::string& text = node->Text();
  if (text == kGuideEntry) {
    ShowLocalPage(kGuidePage);
  } else if (text == kCourseEntry) {
    ShowLocalPage(kCoursePage);
  } else if (text == kConsultationEntry) {
    ShellOpen(links::kConsultation);
  } else if (text == kContactEntry) {
    ShowLocalPage(kContactPage);
  } else if (text == kExitEntry) {
    Close();
  } else {
    OpenCourseLink(ProgramFolder(), text, ShellOpen);
  }
}

void TForm1::suiButton1Click(TObject*) { ShowLocalPage(kGuidePage); }
void TForm1::suiButton2Click(TObject*) { ShellOpen(links::kOrderingThread); }
void TForm1::suiButton3Click(TObject*) { ShowLocalPage(kCoursePage); }
void TForm1::suiButton4Click(TObject*) { ShowLocalPage(kCoursePage); }
void TForm1::suiButton5Click(TObject*) { ShowLocalPage(kCoursePage); }
void TForm1::suiButton6Click(TObject*) { ShellOpen(links::kForumBoard); }
void TForm1::suiButton7Click(TObject*) { ShowLocalPage(kContactPage); }
void TForm1::suiButton8Click(TObject*) { ShellOpen(links::kConsultation); }
void TForm1::Image1Click(TObject*) { ShellOpen(links::kHomePage); }

// The close-time page; the close always goes on.
void TForm1::FormCloseQuery(TObject*, bool&) { ShellOpen(links::kForumBoard); }

void RegisterForm1Classes() {
  RegisterComponentClass("TsuiForm", [](TComponent* owner) { return new TsuiForm(owner); });
  RegisterComponentClass("TsuiTreeView", [](TComponent* owner) { return new TsuiTreeView(owner); });
  RegisterComponentClass("TsuiGroupBox", [](TComponent* owner) { return new TsuiGroupBox(owner); });
  RegisterComponentClass("TsuiButton", [](TComponent* owner) { return new TsuiButton(owner); });
  RegisterComponentClass("TWebBrowser", [](TComponent* owner) { return new TWebBrowser(owner); });
  RegisterComponentClass("TApplicationEvents", [](TComponent* owner) { return new TApplicationEvents(owner); });
  RegisterComponentClass("TImage", [](TComponent* owner) { return new TImage(owner); });
  RegisterComponentClass("TImageList", [](TComponent* owner) { return new TImageList(owner); });
}
