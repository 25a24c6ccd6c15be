// TsuiTreeView: the tree view with a border drawn by the skin: an outer line in
// the border colour and, inside it, a line in the tree's own colour.
#pragma once

#include "forms/tree_view.h"

class TsuiTreeView : public TCustomTreeView {
 public:
  explicit TsuiTreeView(TComponent* owner) : TCustomTreeView(owner) {}
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;

 protected:
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintBorder();
};
