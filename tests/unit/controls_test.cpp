// Ownership and parents in the class library.
#include "forms/controls.h"

#include <gtest/gtest.h>

#include "skin/sui_group_box.h"

TEST(Controls, AControlLeavesItsParentWhenItGoes) {
  // A windowless control (like the browser wrapper) must not stay behind in
  // its parent's list: the parent would reach it again when it goes itself.
  auto* parent = new TsuiGroupBox(nullptr);
  auto* child = new TControl(nullptr);
  auto* sibling = new TControl(nullptr);
  child->SetParent(parent);
  sibling->SetParent(parent);
  ASSERT_EQ(parent->Controls().size(), 2u);
  delete child;
  ASSERT_EQ(parent->Controls().size(), 1u);
  EXPECT_EQ(parent->Controls()[0], sibling);
  delete parent;  // takes the sibling out of its list, without touching the freed child
  EXPECT_EQ(sibling->Parent(), nullptr);
  delete sibling;
}

TEST(Controls, OwnedComponentsGoWithTheirOwnerNewestFirst) {
  std::vector<std::string> gone;
  struct Tracked : TComponent {
    Tracked(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), log_(log) {
      SetName(std::move(name));
    }
    ~Tracked() override { log_.push_back(Name()); }
    std::vector<std::string>& log_;
  };
  auto* owner = new TComponent(nullptr);
  new Tracked(owner, "first", gone);
  auto* second = new Tracked(owner, "second", gone);
  new Tracked(owner, "third", gone);
  EXPECT_EQ(owner->FindComponent("second"), second);
  delete second;  // a component freed early leaves its owner's list
  EXPECT_EQ(owner->Components().size(), 2u);
  delete owner;
  EXPECT_EQ(gone, (std::vector<std::string>{"second", "third", "first"}));
}
