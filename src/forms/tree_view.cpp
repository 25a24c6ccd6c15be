#include "forms/tree_view.h"

#include "forms/errors.h"
#include "forms/image.h"
#include "forms/text.h"

bool TTreeNode::Expanded() const {
  if (!tree_ || !item_) return false;
  return (TreeView_GetItemState(tree_, item_, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(bool expanded) {
  if (!tree_ || !item_ || child_count_ == 0 || Expanded() == expanded) return;
  TreeView_Expand(tree_, item_, expanded ? TVE_EXPAND : TVE_COLLAPSE);
}

TTreeNode& TTreeNodes::Item(int position) {
  if (position < 0 || position >= Count()) throw Exception("ETreeViewError", "Invalid index");
  return *nodes_[static_cast<size_t>(position)];
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&init);
}

bool TCustomTreeView::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "AutoExpand") {
    auto_expand_ = value.IsIdentifier("True");
  } else if (name == "ReadOnly") {
    read_only_ = value.IsIdentifier("True");
  } else if (name == "Indent") {
    indent_ = static_cast<int>(value.integer);
  } else if (name == "BorderStyle") {
    // bsNone: the native border is never drawn; a skin draws its own.
  } else if (name == "BorderWidth") {
    border_width_ = static_cast<int>(value.integer);
  } else if (name == "BorderColor") {
    border_color_ = ColorFromLayout(value);
  } else if (name == "Images") {
    context.Reference(value.text, [this](TComponent* c) { images_ = dynamic_cast<TImageList*>(c); });
  } else if (name == "Items") {
    // Depth-first items, each with its level; a node's children follow it directly.
    std::vector<TTreeNode*> path;
    for (const auto& item : value.items) {
      auto node = std::make_unique<TTreeNode>();
      for (const LayoutProperty& p : item) {
        int n = static_cast<int>(p.value.integer);
        if (p.name == "Text") node->text_ = p.value.text;
        else if (p.name == "ImageIndex") node->image_index_ = n;
        else if (p.name == "SelectedIndex") node->selected_index_ = n;
        else if (p.name == "StateIndex") node->state_index_ = n;
        else if (p.name == "OverlayIndex") node->overlay_index_ = n;
        else if (p.name == "Level") node->level_ = n;
        else throw Exception("EReadError", "Error reading " + Name() + ".Items." + p.name);
      }
      if (node->level_ > static_cast<int>(path.size()))
        throw Exception("EReadError", "Error reading " + Name() + ".Items: level");
      path.resize(static_cast<size_t>(node->level_));
      node->parent_ = path.empty() ? nullptr : path.back();
      if (node->parent_) ++node->parent_->child_count_;
      path.push_back(node.get());
      items_.nodes_.push_back(std::move(node));
    }
  } else {
    return TWinControl::SetProperty(name, value, context);
  }
  return true;
}

HWND TCustomTreeView::CreateWindowHandle() {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASBUTTONS | TVS_HASLINES |
                TVS_LINESATROOT | TVS_DISABLEDRAGDROP;
  if (auto_expand_) style |= TVS_SINGLEEXPAND;
  if (!read_only_) style |= TVS_EDITLABELS;
  return CreateWindowExW(0, WC_TREEVIEWW, L"", style, Left(), Top(), Width(), Height(), ParentWindow(),
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TCustomTreeView::HandleCreated() {
  HWND tree = Handle();
  SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  TreeView_SetBkColor(tree, ColorToRGB(EffectiveColor()));
  TreeView_SetTextColor(tree, ColorToRGB(EffectiveFont().color));
  TreeView_SetIndent(tree, indent_);
  if (images_ && images_->Handle()) TreeView_SetImageList(tree, images_->Handle(), TVSIL_NORMAL);
  for (size_t i = 0; i < items_.nodes_.size(); ++i) {
    TTreeNode& node = *items_.nodes_[i];
    std::wstring text = FromGbk(node.text_);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.parent_ ? node.parent_->item_ : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = text.data();
    insert.item.iImage = node.image_index_;
    insert.item.iSelectedImage = node.selected_index_;
    insert.item.cChildren = node.child_count_ > 0 ? 1 : 0;
    insert.item.lParam = static_cast<LPARAM>(i);
    if (node.overlay_index_ >= 0) {
      insert.item.mask |= TVIF_STATE;
      insert.item.state = INDEXTOOVERLAYMASK(node.overlay_index_ + 1);
      insert.item.stateMask = TVIS_OVERLAYMASK;
    }
    node.item_ = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    node.tree_ = tree;
  }
}

TTreeNode* TCustomTreeView::Selected() const {
  if (!Handle()) return nullptr;
  HTREEITEM item = TreeView_GetSelection(Handle());
  if (!item) return nullptr;
  TVITEMW query{};
  query.mask = TVIF_PARAM;
  query.hItem = item;
  if (!SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
  auto index = static_cast<size_t>(query.lParam);
  return index < items_.nodes_.size() ? items_.nodes_[index].get() : nullptr;
}

LRESULT TCustomTreeView::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // The control follows the press itself until the button is released (it
      // takes the release from the queue) and selects the entry pressed on.
      // OnClick comes after that, when the release lies inside the client area.
      clicked_ = true;
      LRESULT result = DefaultProc(message, wparam, lparam);
      if (clicked_ && !(GetKeyState(VK_LBUTTON) & 0x8000) && GetCapture() != Handle()) {
        clicked_ = false;
        DWORD at = GetMessagePos();
        POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(Handle(), &point);
        if (ClientContains(point)) Click();
      }
      return result;
    }
    case WM_LBUTTONUP: {
      LRESULT result = DefaultProc(message, wparam, lparam);
      if (clicked_) {
        clicked_ = false;
        if (ClientContains(MousePoint(lparam))) Click();
      }
      return result;
    }
    case WM_LBUTTONDBLCLK:
      clicked_ = false;  // the second press of a double-click is no click
      return DefaultProc(message, wparam, lparam);
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}
