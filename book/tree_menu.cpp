#include "book/tree_menu.h"

#include "shell/cp1251.h"

namespace lemmix {

TTreeMenu TreeMenuFor(const TTreeMenuNode& node) {
  using I = TTreeMenuItem;
  TTreeMenu menu;
  auto set = [&menu](I item, bool visible, std::string caption) {
    menu.Visible[static_cast<int>(item)] = visible;
    menu.Captions[static_cast<int>(item)] = std::move(caption);
  };
  const bool d = node.DeveloperMode;
  const bool s = node.Statement;
  const bool provable = s && !node.Axiom;
  set(I::TextItem, true, "Интерактивный учебник"_cp);
  set(I::Prove, provable, node.Definition ? "Доказать корректность"_cp : "Доказать утверждение"_cp);
  set(I::Demo, provable,
      node.Definition ? "Демонстрация доказательства корректности"_cp : "Демонстрация доказательства утверждения"_cp);
  set(I::View, s, "Просмотреть утверждение"_cp);
  set(I::Origin, node.SearchTree, "Показать в содержании"_cp);
  if (node.SearchTree) return menu;  // the search tree offers only these
  set(I::Edit, d, s ? "Редактировать утверждение"_cp : "Редактировать название раздела"_cp);
  set(I::AddBefore, d && !node.Root,
      s ? "Вставить пустое утверждение перед выбранным"_cp : "Вставить пустой раздел перед выбранным"_cp);
  set(I::AddAfter, d && !node.Root,
      s ? "Вставить пустое утверждение после выбранного"_cp : "Вставить пустой раздел после выбранного"_cp);
  set(I::Copy, s && d, "Поместить утверждение в буфер"_cp);
  set(I::AddChild, d && !s,
      node.Paragraph ? "Добавить пустое утверждение в конец раздела"_cp : "Добавить пустой подраздел в конец раздела"_cp);
  set(I::CopyChild, node.Paragraph && d && node.BufferFull, "Копировать в параграф из буфера"_cp);
  set(I::CopyBefore, s && d && node.BufferFull, "Копировать из буфера перед выбранным"_cp);
  set(I::CopyAfter, s && d && node.BufferFull, "Копировать из буфера после выбранного"_cp);
  set(I::HideItem, d, node.Favourite ? "Исключить из избранного"_cp : "Включить в избранное"_cp);
  set(I::Del, d && !node.Root, s ? "Удалить утверждение"_cp : "Удалить раздел"_cp);
  return menu;
}

}  // namespace lemmix
