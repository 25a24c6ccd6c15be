// TCustomTreeView: the Windows tree view control with a stored node list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"

class TImageList;

class TTreeNode {
 public:
  const std::string& Text() const { return text_; }
  int ImageIndex() const { return image_index_; }
  int SelectedIndex() const { return selected_index_; }
  int Level() const { return level_; }
  HTREEITEM ItemId() const { return item_; }
  TTreeNode* Parent() const { return parent_; }
  bool HasChildren() const { return child_count_ > 0; }
  bool Expanded() const;
  // Opening a node without children does nothing.
  void SetExpanded(bool expanded);

 private:
  friend class TCustomTreeView;
  std::string text_;
  int image_index_ = -1, selected_index_ = -1, state_index_ = -1, overlay_index_ = -1;
  int level_ = 0;
  int child_count_ = 0;
  TTreeNode* parent_ = nullptr;
  HWND tree_ = nullptr;
  HTREEITEM item_ = nullptr;
};

class TTreeNodes {
 public:
  int Count() const { return static_cast<int>(nodes_.size()); }
  // The node at a depth-first position over the whole tree.
  TTreeNode& Item(int position);

 private:
  friend class TCustomTreeView;
  std::vector<std::unique_ptr<TTreeNode>> nodes_;  // depth-first order
};

class TCustomTreeView : public TWinControl {
 public:
  explicit TCustomTreeView(TComponent* owner);
  TTreeNodes& Items() { return items_; }
  TTreeNode* Selected() const;
  bool TabStop() const override { return true; }
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;

 protected:
  HWND CreateWindowHandle() override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  const wchar_t* WindowClass() const override { return WC_TREEVIEWW; }

  TColor border_color_ = 0x7F7F7F;
  int border_width_ = 0;

 private:
  TTreeNodes items_;
  TImageList* images_ = nullptr;
  bool auto_expand_ = false;
  bool read_only_ = false;
  int indent_ = 19;
  bool clicked_ = false;  // a left press on the tree is waiting for its release
};
