// Which entries the popup menu of the book trees offers for a node, and with
// which captions.
#pragma once

#include <array>
#include <string>

namespace lemmix {

enum class TTreeMenuItem {
  TextItem, Prove, Demo, View, Origin, Edit, AddBefore, AddAfter, Copy, AddChild,
  CopyChild, CopyBefore, CopyAfter, HideItem, Del
};
inline constexpr int kTreeMenuItems = 15;

struct TTreeMenuNode {
  bool DeveloperMode = false;
  bool SearchTree = false;   // the search page's tree, not the contents
  bool Statement = false;
  bool Paragraph = false;
  bool Root = false;
  bool BufferFull = false;   // the copy buffer holds a statement
  bool Axiom = false;
  bool Definition = false;
  bool Favourite = false;
};

struct TTreeMenu {
  std::array<bool, kTreeMenuItems> Visible{};
  std::array<std::string, kTreeMenuItems> Captions;  // cp1251
  bool Shows(TTreeMenuItem item) const { return Visible[static_cast<int>(item)]; }
  const std::string& Caption(TTreeMenuItem item) const { return Captions[static_cast<int>(item)]; }
};

TTreeMenu TreeMenuFor(const TTreeMenuNode& node);

}  // namespace lemmix
