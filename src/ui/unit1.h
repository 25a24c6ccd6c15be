// The study guide's one window.
#pragma once

#include <windows.h>

#include <string>

#include "browser/web_browser.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/image.h"
#include "skin/sui_button.h"
#include "skin/sui_form.h"
#include "skin/sui_group_box.h"
#include "skin/sui_tree_view.h"

class TForm1 : public TForm {
 public:
  TImageList* ImageList1 = nullptr;
  TsuiForm* suiForm1 = nullptr;
  TsuiTreeView* TreeView1 = nullptr;
  TsuiGroupBox* GroupBox1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;
  TsuiButton* suiButton1 = nullptr;
  TsuiButton* suiButton2 = nullptr;
  TsuiButton* suiButton3 = nullptr;
  TsuiButton* suiButton4 = nullptr;
  TsuiButton* suiButton5 = nullptr;
  TsuiButton* suiButton6 = nullptr;
  TsuiButton* suiButton7 = nullptr;
  TsuiButton* suiButton8 = nullptr;
  TImage* Image1 = nullptr;
  TWebBrowser* webcount = nullptr;

  void TreeView1Click(TObject* Sender);
  void FormCreate(TObject* Sender);
  void ApplicationEvents1Message(MSG& Msg, bool& Handled);
  void suiButton1Click(TObject* Sender);
  void suiButton2Click(TObject* Sender);
  void suiButton3Click(TObject* Sender);
  void suiButton4Click(TObject* Sender);
  void suiButton5Click(TObject* Sender);
  void suiButton6Click(TObject* Sender);
  void suiButton7Click(TObject* Sender);
  void suiButton8Click(TObject* Sender);
  void Image1Click(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);

  explicit TForm1(TComponent* owner);

  // Puts a local page ("data\..." in code page 936) into the main browser.
  void ShowLocalPage(const std::string& page_name);

 protected:
  const wchar_t* LayoutResource() const override { return L"TFORM1"; }
};

extern TForm1* Form1;

// The classes that the stored layout of TForm1 names.
void RegisterForm1Classes();
