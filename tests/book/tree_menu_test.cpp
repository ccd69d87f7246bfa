// The popup menu of the book trees: which entries show for which node.
#include "book/tree_menu.h"

#include <gtest/gtest.h>

#include "shell/cp1251.h"

namespace lemmix {
namespace {

using I = TTreeMenuItem;

// The visible entries, in menu order, as letters: T Prove D View O E B(efore)
// A(fter) C(opy) H(child) c(hild copy) b(efore copy) a(fter copy) F(avourite) X(delete).
std::string Shown(const TTreeMenu& menu) {
  static constexpr char letters[] = "TPDVOEBACHcbaFX";
  std::string shown;
  for (int i = 0; i < kTreeMenuItems; ++i)
    if (menu.Visible[i]) shown += letters[i];
  return shown;
}

TEST(TreeMenu, VisibilityRules) {
  struct Case {
    const char* name;
    TTreeMenuNode node;
    const char* shown;
  };
  const Case cases[] = {
      {"UserStatement", {.Statement = true}, "TPDV"},
      {"UserAxiom", {.Statement = true, .Axiom = true}, "TV"},
      {"UserSection", {}, "T"},
      {"DeveloperRoot", {.DeveloperMode = true, .Root = true}, "TEHF"},
      {"DeveloperChapter", {.DeveloperMode = true}, "TEBAHFX"},
      {"DeveloperParagraphEmptyBuffer", {.DeveloperMode = true, .Paragraph = true}, "TEBAHFX"},
      {"DeveloperParagraphWithBuffer", {.DeveloperMode = true, .Paragraph = true, .BufferFull = true}, "TEBAHcFX"},
      {"DeveloperStatement", {.DeveloperMode = true, .Statement = true}, "TPDVEBACFX"},
      {"DeveloperStatementWithBuffer",
       {.DeveloperMode = true, .Statement = true, .BufferFull = true},
       "TPDVEBACbaFX"},
      {"SearchStatement", {.DeveloperMode = true, .SearchTree = true, .Statement = true}, "TPDVO"},
      {"SearchAxiom", {.SearchTree = true, .Statement = true, .Axiom = true}, "TVO"},
      {"SearchSection", {.DeveloperMode = true, .SearchTree = true}, "TO"},
  };
  for (const Case& c : cases) EXPECT_EQ(Shown(TreeMenuFor(c.node)), c.shown) << c.name;
}

TEST(TreeMenu, CaptionsFollowTheNode) {
  const TTreeMenu definition = TreeMenuFor({.DeveloperMode = true, .Statement = true, .Definition = true});
  EXPECT_EQ(definition.Caption(I::Prove), "Доказать корректность"_cp);
  EXPECT_EQ(definition.Caption(I::Demo), "Демонстрация доказательства корректности"_cp);
  EXPECT_EQ(definition.Caption(I::Del), "Удалить утверждение"_cp);
  EXPECT_EQ(definition.Caption(I::HideItem), "Включить в избранное"_cp);
  const TTreeMenu theorem = TreeMenuFor({.Statement = true, .Favourite = true});
  EXPECT_EQ(theorem.Caption(I::Prove), "Доказать утверждение"_cp);
  const TTreeMenu paragraph = TreeMenuFor({.DeveloperMode = true, .Paragraph = true, .Favourite = true});
  EXPECT_EQ(paragraph.Caption(I::AddChild), "Добавить пустое утверждение в конец раздела"_cp);
  EXPECT_EQ(paragraph.Caption(I::Edit), "Редактировать название раздела"_cp);
  EXPECT_EQ(paragraph.Caption(I::HideItem), "Исключить из избранного"_cp);
  EXPECT_EQ(TreeMenuFor({.DeveloperMode = true}).Caption(I::AddChild), "Добавить пустой подраздел в конец раздела"_cp);
}

}  // namespace
}  // namespace lemmix
