// The main window's book: the two trees, their popup menu, the editing
// commands of developer mode, the search page and saving.
#include <QAbstractItemDelegate>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <set>

#include "book/search.h"
#include "gui/main_form.h"
#include "gui/prove_form.h"
#include "gui/show_form.h"
#include "gui/qtext.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

namespace {

constexpr int kNodeRole = Qt::UserRole;

// Inserts a new child into whichever kind of section the node is.
TPathName* InsertInto(TPathName& section, std::size_t position) {
  if (auto* book = dynamic_cast<TBook*>(&section)) return &book->InsertChild(position);
  if (auto* chapter = dynamic_cast<TChapter*>(&section)) return &chapter->InsertChild(position);
  if (auto* paragraph = dynamic_cast<TParagraph*>(&section)) return &paragraph->InsertChild(position);
  return nullptr;
}

std::size_t IndexIn(const TPathName& section, const TPathName& node) {
  for (std::size_t i = 0; i < section.ChildCount(); ++i)
    if (section.Child(i) == &node) return i;
  return section.ChildCount();
}

void VisitItems(QTreeWidgetItem* item, const std::function<void(QTreeWidgetItem*)>& visit) {
  visit(item);
  for (int i = 0; i < item->childCount(); ++i) VisitItems(item->child(i), visit);
}

bool SamePath(std::string a, std::string b) {
  std::replace(a.begin(), a.end(), '/', '\\');
  std::replace(b.begin(), b.end(), '/', '\\');
  return a == b;
}

}  // namespace

TPathName* TMainForm::NodeOf(const QTreeWidgetItem* item) {
  return item ? static_cast<TPathName*>(item->data(0, kNodeRole).value<void*>()) : nullptr;
}

void TMainForm::LoadBook() {
  context_.Book = std::make_unique<TBook>();
  context_.Book->Path = context_.BookPath;
  SaveButton->setEnabled(context_.Book->Load());
  FillTree();
}

void TMainForm::ModeChanged() {
  FillTree();
  if (Pages->currentWidget() == SearchPage) RunSearch();
}

QTreeWidgetItem* TMainForm::NewItem(const TPathName& node) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, ToQString(node.Title()));
  item->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(const_cast<TPathName*>(&node))));
  return item;
}

void TMainForm::AddTreeChildren(QTreeWidgetItem* item, const TPathName& node) {
  for (std::size_t i = 0; i < node.ChildCount(); ++i) {
    const TPathName& child = *node.Child(i);
    if (child.Deleted || (!context_.DeveloperMode && !child.Favourite())) continue;
    QTreeWidgetItem* childItem = NewItem(child);
    item->addChild(childItem);
    AddTreeChildren(childItem, child);
  }
}

void TMainForm::FillTree() {
  // The open branches and the selection survive the rebuilding.
  std::set<const TPathName*> expanded;
  const TPathName* selected = NodeOf(BookTree->currentItem());
  if (QTreeWidgetItem* root = BookTree->topLevelItem(0))
    VisitItems(root, [&](QTreeWidgetItem* item) {
      if (item->isExpanded()) expanded.insert(NodeOf(item));
    });
  titleItem_ = nullptr;  // its item goes with the others
  BookTree->clear();
  if (!context_.Book) return;
  QTreeWidgetItem* root = NewItem(*context_.Book);
  BookTree->addTopLevelItem(root);
  AddTreeChildren(root, *context_.Book);
  root->setExpanded(true);
  VisitItems(root, [&](QTreeWidgetItem* item) {
    if (expanded.count(NodeOf(item))) item->setExpanded(true);
    if (NodeOf(item) == selected) BookTree->setCurrentItem(item);
  });
}

void TMainForm::PreparePopup(QTreeWidget* tree, QTreeWidgetItem* item) {
  popupTree_ = tree;
  popupItem_ = item;
  tree->setCurrentItem(item);
  const TPathName& node = *NodeOf(item);
  TTreeMenuNode shape;
  shape.DeveloperMode = context_.DeveloperMode;
  shape.SearchTree = tree == SearchTree;
  shape.Statement = node.IsStatement();
  shape.Paragraph = !shape.Statement && node.Level == TPathName::kParagraphLevel;
  shape.Root = item->parent() == nullptr;
  shape.BufferFull = !copyBuffer_.Deleted;
  shape.Axiom = shape.Statement && static_cast<const TStatement&>(node).Kind() == "axiom";
  shape.Definition = shape.Statement && static_cast<const TStatement&>(node).Kind() == "definition";
  shape.Favourite = node.Favourite();
  const TTreeMenu menu = TreeMenuFor(shape);
  for (const auto& [which, action] : actions_) {
    action->setVisible(menu.Shows(which));
    if (menu.Shows(which)) action->setText(ToQString(menu.Caption(which)));
  }
}

void TMainForm::ShowPopup(QTreeWidget* tree, const QPoint& position) {
  QTreeWidgetItem* item = tree->itemAt(position);
  if (!item) return;
  PreparePopup(tree, item);
  TreePopup->popup(tree->viewport()->mapToGlobal(position));
}

TPathName* TMainForm::ParentOf(const TPathName& node) const {
  TPathName* parent = nullptr;
  std::function<bool(TPathName&)> find = [&](TPathName& section) {
    for (std::size_t i = 0; i < section.ChildCount(); ++i) {
      if (section.Child(i) == &node) {
        parent = &section;
        return true;
      }
      if (find(*section.Child(i))) return true;
    }
    return false;
  };
  if (context_.Book) find(*context_.Book);
  return parent;
}

void TMainForm::BookChanged() {
  SaveButton->setEnabled(true);
  FillTree();
}

void TMainForm::MenuChosen(TTreeMenuItem which) {
  TPathName* node = NodeOf(popupItem_);
  if (!node) return;
  auto* statement = node->IsStatement() ? static_cast<TStatement*>(node) : nullptr;
  switch (which) {
    case TTreeMenuItem::TextItem:
      if (node->Lines[kHtmlLine].empty()) {
        context_.Messages.Error({"Для данного утверждения нет текста HTML."_cp, "The statement has no html text."});
      } else if (showPage_) {
        showPage_(*node);
      }
      break;
    case TTreeMenuItem::Prove: Prove(*statement); break;
    case TTreeMenuItem::Demo: Demo(*statement); break;
    case TTreeMenuItem::View:
      if (!context_.DeveloperMode) {
        if (showFormula_) showFormula_(statement->Lines[kFormulationLine]);
      } else if (showForm_) {
        showForm_->ViewStatement(*statement);
      }
      break;
    case TTreeMenuItem::Origin: ShowOrigin(); break;
    case TTreeMenuItem::Edit:
      if (statement) {
        if (showForm_ && showForm_->EditStatement(*statement)) {
          popupItem_->setText(0, ToQString(statement->Title()));
          SaveButton->setEnabled(true);
        }
      } else {
        EditSection(popupItem_);
      }
      break;
    case TTreeMenuItem::AddBefore: AddNode(true, false, false, nullptr); break;
    case TTreeMenuItem::AddAfter: AddNode(false, true, false, nullptr); break;
    case TTreeMenuItem::AddChild: AddNode(false, false, true, nullptr); break;
    case TTreeMenuItem::Copy: TStatement::Copy(copyBuffer_, *statement, true); break;
    case TTreeMenuItem::CopyBefore: AddNode(true, false, false, &copyBuffer_); break;
    case TTreeMenuItem::CopyAfter: AddNode(false, true, false, &copyBuffer_); break;
    case TTreeMenuItem::CopyChild: AddNode(false, false, true, &copyBuffer_); break;
    case TTreeMenuItem::HideItem: ToggleFavourite(); break;
    case TTreeMenuItem::Del: DeleteNode(); break;
  }
}

void TMainForm::EditSection(QTreeWidgetItem* item) {
  item->setFlags(item->flags() | Qt::ItemIsEditable);  // itself a change of the item
  titleItem_ = item;
  BookTree->editItem(item);
}

void TMainForm::EndTitleEdit(QTreeWidgetItem* item) {
  titleItem_ = nullptr;
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}

void TMainForm::TitleEdited(QTreeWidgetItem* item) {
  if (item != titleItem_) return;
  EndTitleEdit(item);
  TPathName* node = NodeOf(item);
  const QString typed = item->text(0);
  const std::string title = FromQString(typed);
  if (title == node->Lines[kRussianNameLine]) return;
  // The content file holds Windows-1251: a character it has no code for would turn into "?".
  if (ToQString(title) != typed) {
    item->setText(0, ToQString(node->Title()));
    context_.Messages.Error({"Название содержит символы, которых нет в кодировке Windows-1251: "_cp + title,
                             "The title has characters that Windows-1251 cannot hold: " + title});
    return;
  }
  node->Lines[kRussianNameLine] = title;
  node->Changed = true;
  SaveButton->setEnabled(true);
}

void TMainForm::AddNode(bool before, bool after, bool child, const TStatement* from) {
  TPathName* node = NodeOf(popupItem_);
  TPathName* section = child ? node : ParentOf(*node);
  if (!section) return;
  std::size_t position = section->ChildCount();
  if (before) position = IndexIn(*section, *node);
  if (after) position = IndexIn(*section, *node) + 1;
  TPathName* added = InsertInto(*section, position);
  if (!added) return;
  if (from && added->IsStatement()) {
    // The copy keeps its own new name; protocols stay with the original.
    const std::string path = added->Path;
    TStatement::Copy(static_cast<TStatement&>(*added), *from, true);
    added->Path = path;
    added->Changed = true;
  }
  BookChanged();
  VisitItems(BookTree->topLevelItem(0), [&](QTreeWidgetItem* item) {
    if (NodeOf(item) == added) BookTree->setCurrentItem(item);
  });
}

void TMainForm::DeleteNode() {
  TPathName* node = NodeOf(popupItem_);
  const bool hasProtocols = node->IsStatement() && std::filesystem::is_directory(NativePath(node->Path));
  if (popupItem_->childCount() > 0) {
    if (!context_.Questions.Ask({"УДАЛЯЕМЫЙ РАЗДЕЛ НЕПУСТ.\n\nУДАЛИТЬ ЕГО ?"_cp, "The section is not empty. Delete it?"}))
      return;
  } else if (hasProtocols) {
    if (!context_.Questions.Ask({"УДАЛЯЕМОЕ УТВЕРЖДЕНИЕ ИМЕЕТ ПРОТОКОЛЫ ДОКАЗАТЕЛЬСТВА.\n\nУДАЛИТЬ ЕГО ?"_cp,
                                 "The statement has proof protocols. Delete it?"}))
      return;
  }
  lemmix::DeleteNode(*node);
  if (TPathName* parent = ParentOf(*node)) parent->Changed = true;
  BookChanged();
}

void TMainForm::ToggleFavourite() {
  TPathName* node = NodeOf(popupItem_);
  node->Lines[kFavouriteLine] = node->Favourite() ? "" : "S";
  node->Changed = true;
  BookChanged();
}

void TMainForm::ShowOrigin() {
  const TPathName* found = NodeOf(popupItem_);
  Pages->setCurrentWidget(TreePage);
  VisitItems(BookTree->topLevelItem(0), [&](QTreeWidgetItem* item) {
    if (SamePath(NodeOf(item)->Path, found->Path)) {
      BookTree->setCurrentItem(item);
      BookTree->scrollToItem(item);
    }
  });
}

bool TMainForm::SaveBook() {
  const bool saved = !context_.Book || context_.Book->Save();
  // What could not be written is still marked changed: "Save" stays for another try.
  SaveButton->setEnabled(!saved);
  if (!saved)
    context_.Messages.Error({"Книга сохранена не полностью: не удалось записать некоторые файлы."_cp,
                             "The book is not saved completely: some files could not be written."});
  // Saving frees the deleted nodes; a result tree built before may still show them.
  if (Pages->currentWidget() != SearchPage) SearchTree->clear();
  FillTree();
  return saved;
}

void TMainForm::RunSearch() {
  SearchTree->clear();
  SearchButton->setEnabled(false);
  if (!context_.Book) return;
  const std::optional<TSearchNode> result = SearchBook(*context_.Book, !context_.DeveloperMode,
                                                       SearchCombo->currentIndex(), FromQString(SearchEdit->text()));
  if (!result) return;
  std::function<QTreeWidgetItem*(const TSearchNode&)> build = [&](const TSearchNode& found) {
    QTreeWidgetItem* item = NewItem(*found.Node);
    for (const TSearchNode& child : found.Children) item->addChild(build(child));
    return item;
  };
  QTreeWidgetItem* root = build(*result);
  SearchTree->addTopLevelItem(root);
  SearchTree->expandAll();
}

void TMainForm::Prove(TStatement& statement) {
  // A statement new since the last save has no file to prove from yet.
  const bool unsaved = SaveButton->isEnabled();
  if (unsaved && !FileExists(statement.Path + ".st") && context_.Book) {
    const std::string title = context_.Book->Title();
    if (context_.Questions.Ask({"НЕОБХОДИМО СОХРАНИТЬ ИЗМЕНЕНИЯ В КНИГЕ\n\""_cp + title + "\"\n\nСДЕЛАТЬ ЭТО ?"_cp,
                                "The book \"" + title + "\" has to be saved first. Save it?"}))
      SaveBook();
  }
  // Whatever "Save" says, there is nothing to prove from without the file.
  if (!FileExists(statement.Path + ".st")) {
    context_.Messages.Error(
        {"Утверждение для доказательства не найдено."_cp, "The statement to be proved is not found."});
    return;
  }
  if (!context_.Book) return;
  // The window owns itself: it closes, and goes, when no proof field remains.
  auto* window = new TProveForm(context_, *context_.Book, statement, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->SetHelp([this](int topic) { emit HelpRequested(topic); });
  if (!window->Start(context_.Dir + "\\Prt.dat")) {
    window->deleteLater();
    return;
  }
  window->show();
}

void TMainForm::Demo(TStatement& statement) {
  if (statement.ProtocolNames(!context_.DeveloperMode).empty()) {
    context_.Messages.Error({"Для выбранного утверждения нет протоколов доказательства."_cp,
                             "There is no proof protocols for the statment."});
    return;
  }
  context_.Messages.Info({"Демонстрация доказательств появится в следующей версии программы."_cp,
                          "Demonstrations of proofs are not there yet."});
}

void TMainForm::FollowPage(const std::string& pageKey) {
  const TPathName* selected = NodeOf(BookTree->currentItem());
  if (selected && selected->Lines[kHtmlLine].find(pageKey) != std::string::npos) return;
  QTreeWidgetItem* first = nullptr;
  if (QTreeWidgetItem* root = BookTree->topLevelItem(0))
    VisitItems(root, [&](QTreeWidgetItem* item) {
      if (!first && NodeOf(item)->Lines[kHtmlLine].find(pageKey) != std::string::npos) first = item;
    });
  if (first) {
    BookTree->setCurrentItem(first);
    BookTree->scrollToItem(first);
  }
}

void TMainForm::ConnectBook() {
  TreePopup = new QMenu(this);
  TreePopup->setObjectName("TreePopup");
  static const std::pair<TTreeMenuItem, const char*> names[] = {
      {TTreeMenuItem::TextItem, "TextItem"},     {TTreeMenuItem::Prove, "Prove"},
      {TTreeMenuItem::Demo, "Demo"},             {TTreeMenuItem::View, "View"},
      {TTreeMenuItem::Origin, "Origin"},         {TTreeMenuItem::Edit, "Edit"},
      {TTreeMenuItem::AddBefore, "AddBefore"},   {TTreeMenuItem::AddAfter, "AddAfter"},
      {TTreeMenuItem::Copy, "Copy"},             {TTreeMenuItem::AddChild, "AddChild"},
      {TTreeMenuItem::CopyChild, "CopyChild"},   {TTreeMenuItem::CopyBefore, "CopyBefore"},
      {TTreeMenuItem::CopyAfter, "CopyAfter"},   {TTreeMenuItem::HideItem, "HideItem"},
      {TTreeMenuItem::Del, "Del"},
  };
  for (const auto& [which, name] : names) {
    QAction* action = TreePopup->addAction(QString());
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, which = which] { MenuChosen(which); });
    actions_[which] = action;
  }
  for (QTreeWidget* tree : {BookTree, SearchTree}) {
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this, tree](const QPoint& position) { ShowPopup(tree, position); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, tree](QTreeWidgetItem* item) {
      if (!NodeOf(item)->IsStatement()) return;
      PreparePopup(tree, item);
      TreePopup->popup(QCursor::pos());
    });
  }
  connect(BookTree, &QTreeWidget::itemChanged, this, &TMainForm::TitleEdited);
  // An edit left with Escape commits nothing: the item must not stay editable.
  connect(BookTree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
    if (QTreeWidgetItem* item = titleItem_) EndTitleEdit(item);
  });
  connect(SaveButton, &QPushButton::clicked, this, &TMainForm::SaveBook);
  connect(SearchButton, &QPushButton::clicked, this, &TMainForm::RunSearch);
  connect(SearchCombo, &QComboBox::currentIndexChanged, this, [this] { SearchButton->setEnabled(true); });
  connect(SearchEdit, &QLineEdit::textChanged, this, [this] { SearchButton->setEnabled(true); });
  connect(Pages, &QTabWidget::currentChanged, this, [this] {
    if (Pages->currentWidget() == SearchPage) RunSearch();
  });
}

}  // namespace lemmix
