// The main window's book: the two trees, their popup menu, the editing
// commands of developer mode, the search page, saving, and the replays of
// protocols.
#include <QAbstractItemDelegate>
#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <set>

#include "book/search.h"
#include "proofrun/demo.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/resume.h"
#include "proofrun/script_ui.h"
#include "gui/main_form.h"
#include "gui/open_pr_form.h"
#include "gui/progress_form.h"
#include "gui/prove_form.h"
#include "gui/show_form.h"
#include "gui/qtext.h"
#include "gui/time_form.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

namespace {

constexpr int kNodeRole = Qt::UserRole;

// What a replay nobody watches says: information is dropped, since the proof
// field is not shown; errors reach the user, or the log of a run through many
// protocols; a question is the user's, or "No" when nobody waits for it.
class TUnwatchedMessages : public IMessages, public IQuestions {
 public:
  explicit TUnwatchedMessages(TContext& outer) : outer_(outer) {}
  void Info(const TMessage&) override {}
  void Error(const TMessage& message) override { outer_.Messages.Error(message); }
  bool Ask(const TMessage& question) override { return !outer_.ProveThrough && outer_.Questions.Ask(question); }

 private:
  TContext& outer_;
};

// The replay of a protocol for its verification, in a context of its own
// that it is current in while it works: the settings the protocol records
// become the user's when it ends.
class TProtocolReplay {
 public:
  TProtocolReplay(TContext& outer, const TBook& book, const TAssotProccess* assot)
      : outer_(outer), messages_(outer), context_(messages_, messages_) {
    context_.Dir = outer.Dir;
    context_.BookPath = outer.BookPath;
    context_.StartupOk = outer.StartupOk;
    context_.DeveloperMode = outer.DeveloperMode;
    context_.ProveThrough = outer.ProveThrough;
    context_.DemoLogPath = outer.DemoLogPath;
    context_.DemoRunning = true;
    context_.Settings = outer.Settings;
    context_.TypesProccess = outer.TypesProccess;
    context_.StFunc = outer.StFunc;
    const TContextScope scope(context_);
    protocol_ = std::make_unique<TProtocolRecorder>(messages_);
    noAnswers_ = std::make_unique<TScriptUi>(book, std::vector<std::string>());
    driver_ = std::make_unique<TProofDriver>(*noAnswers_, *protocol_, book, assot);
    demo_ = std::make_unique<TDemonstration>(*driver_, *protocol_, book);
  }
  ~TProtocolReplay() {
    const TContextScope scope(context_);
    demo_.reset();
    driver_.reset();
    protocol_.reset();
    outer_.Settings = context_.Settings;
  }

  void Begin(const TStatement& statement, const std::vector<std::string>& lines, const std::string& fullProtocol) {
    const TContextScope scope(context_);
    demo_->Begin(statement, lines, fullProtocol);
  }
  bool Step() {
    const TContextScope scope(context_);
    return !demo_->Ended() && demo_->Step() && !demo_->Ended();
  }
  // Lines read: while the run goes on, up to the record replayed; once it
  // failed, up to the line it failed at.
  std::size_t Position() const {
    const int line = demo_->Line();
    return static_cast<std::size_t>(std::max(demo_->Ended() && !demo_->Succeeded() ? line - 1 : line, 0));
  }
  bool Succeeded() const { return demo_->Succeeded(); }

 private:
  TContext& outer_;
  TUnwatchedMessages messages_;
  TContext context_;
  std::unique_ptr<TProtocolRecorder> protocol_;
  std::unique_ptr<TScriptUi> noAnswers_;
  std::unique_ptr<TProofDriver> driver_;
  std::unique_ptr<TDemonstration> demo_;
};

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

void TMainForm::OfferResume() {
  if (!context_.StartupOk || !context_.Book) return;
  const std::string journal = context_.Dir + "\\Prt.dat";
  const std::optional<TInterruptedProof> interrupted = FindInterruptedProof(journal);
  if (!interrupted) return;
  // A statement gone from the book: its journal waits for a book that has it.
  const TStatement* statement = InterruptedStatement(*context_.Book, *interrupted);
  if (statement == nullptr) return;
  if (!context_.Questions.Ask({"Доказательство утверждения\n\""_cp + statement->Lines[kRussianNameLine] +
                                   "\"\nбыло прервано. Продолжить его?"_cp,
                               "The proof of\n\"" + statement->Lines[kEnglishNameLine] +
                                   "\"\nwas interrupted. Resume it?"})) {
    MarkJournalAborted(journal);
    return;
  }
  auto* window = new TProveForm(context_, *context_.Book, *statement, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->SetHelp([this](int topic) { emit HelpRequested(topic); });
  if (!window->Resume(interrupted->Journal, journal)) {
    window->deleteLater();
    return;
  }
  window->show();
}

void TMainForm::Demo(TStatement& statement) {
  // The settings of the moment hold for the whole run.
  const TDemoSettings demo = context_.Settings.Demo;
  if (demo.Through && !demo.Visual) {
    ProveThrough(statement);
    return;
  }
  const std::vector<TProtocolFile> files = StatementProtocols(statement, !context_.DeveloperMode);
  if (files.empty()) {
    context_.Messages.Error({"Для выбранного утверждения нет протоколов доказательства."_cp,
                             "There is no proof protocols for the statment."});
    return;
  }
  const std::optional<TProtocolFile> chosen = openPrForm_->Choose(files);
  if (!chosen) return;
  if (demo.Visual) {
    Demonstrate(statement, *chosen);
  } else {
    Verify(statement, *chosen, false);
  }
}

void TMainForm::Demonstrate(TStatement& statement, const TProtocolFile& file) {
  const std::optional<std::vector<std::string>> lines = ReadLines(file.Path);
  if (!lines) {
    context_.Messages.Error({"Невозможно прочитать файл протокола "_cp + DisplayPath(file.Path),
                             "Unable to read protocol file " + DisplayPath(file.Path)});
    return;
  }
  if (!context_.Book) return;
  // The window owns itself, as for a proof: it goes when it closes.
  auto* window = new TProveForm(context_, *context_.Book, statement, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->SetHelp([this](int topic) { emit HelpRequested(topic); });
  if (!window->StartDemonstration(*lines, FullProtocolPath(file.Path))) {
    window->deleteLater();
    return;
  }
  window->show();
}

std::string TMainForm::FullProtocolPath(const std::string& protocolPath) const {
  if (!context_.Settings.Demo.FullProtocol) return {};
  return protocolPath.substr(0, protocolPath.size() - 3) + "fpr";
}

std::optional<TReplaySteps> TMainForm::ProtocolReplay(TStatement& statement, const std::string& protocolPath) {
  if (!context_.Book) return std::nullopt;
  const std::optional<std::vector<std::string>> lines = ReadLines(protocolPath);
  if (!lines) return std::nullopt;
  const std::string fullProtocol = FullProtocolPath(protocolPath);
  // A run through many protocols writes them all anew.
  std::error_code ignored;
  if (!fullProtocol.empty() && context_.ProveThrough) std::filesystem::remove(NativePath(fullProtocol), ignored);
  auto replay = std::make_shared<TProtocolReplay>(context_, *context_.Book, context_.AssotProccess.get());
  replay->Begin(statement, *lines, fullProtocol);
  return TReplaySteps{[replay] { return replay->Step(); }, [replay] { return replay->Position(); },
                      [replay] { return replay->Succeeded(); }};
}

TMainForm::TVerified TMainForm::Verify(TStatement& statement, const TProtocolFile& file, bool through) {
  const std::optional<std::vector<std::string>> lines = ReadLines(file.Path);
  if (!lines) {
    context_.Messages.Error({"Невозможно прочитать файл протокола "_cp + DisplayPath(file.Path),
                             "Unable to read protocol file " + DisplayPath(file.Path)});
    return TVerified::Failed;
  }
  QElapsedTimer clock;
  clock.start();
  const std::optional<TReplaySteps> steps = startReplay_(statement, file.Path);
  // Without a replay no protocol can be verified: a run through them ends.
  if (!steps) return TVerified::Stopped;
  if (progressForm_->Run(ToQString(statement.Title()), lines->size(), *steps) == TProgressForm::TEnd::Closed)
    return TVerified::Stopped;
  const long long ticks = clock.elapsed();
  const TVerificationVerdict verdict = VerificationVerdict(
      *lines, steps->Position(), steps->Succeeded ? std::optional(steps->Succeeded()) : std::nullopt);
  if (!verdict.Succeeded) {
    context_.Messages.Error(verdict.Message());
    return TVerified::Failed;
  }
  const std::optional<long long> recorded = RecordedTicks(*lines);
  // The time is only told: a protocol that cannot be written keeps its old one.
  if (const std::optional<std::vector<std::string>> stamped = WithRecordedTicks(*lines, ticks))
    WriteLinesReplacing(file.Path, *stamped);
  if (!through) {
    timeForm_->SetHeading(ToQString("Доказательство проверено: протокол воспроизведен до конца."_cp));
    timeForm_->Fill(ticks, recorded);
    timeForm_->exec();
  }
  return TVerified::Succeeded;
}

void TMainForm::ProveThrough(TStatement& from) {
  // The statements from this one on as the contents show them; the one the
  // run starts from is taken even when the contents hide it.
  std::vector<TStatement*> statements;
  bool started = false;
  std::function<void(TPathName&, bool)> visit = [&](TPathName& node, bool visible) {
    if (node.Deleted) return;
    visible = visible && (context_.DeveloperMode || node.Favourite() || &node == context_.Book.get());
    started = started || &node == &from;
    if (started && node.IsStatement() && (visible || &node == &from)) {
      auto& statement = static_cast<TStatement&>(node);
      if (statement.Kind() != "axiom") statements.push_back(&statement);
    }
    for (std::size_t i = 0; i < node.ChildCount(); ++i) visit(*node.Child(i), visible);
  };
  if (context_.Book) visit(*context_.Book, true);
  if (!started) statements.push_back(&from);

  const std::string log = context_.Dir + "\\demo.prt";
  std::error_code ignored;
  std::filesystem::remove(NativePath(log), ignored);
  if (!WriteLinesReplacing(log, {})) {
    context_.Messages.Error(
        {"Невозможно открыть файл протокола демонстрации."_cp, "Unable open demo protocol file."});
    return;
  }
  // Errors of the run go to the log instead of waiting for the user.
  struct TUnattended {
    TContext& context;
    TUnattended(TContext& c, const std::string& log) : context(c) {
      context.ProveThrough = true;
      context.DemoLogPath = log;
    }
    ~TUnattended() {
      context.ProveThrough = false;
      context.DemoLogPath.clear();
    }
  } unattended(context_, log);
  for (TStatement* statement : statements) {
    const std::vector<TProtocolFile> files = StatementProtocols(*statement, !context_.DeveloperMode);
    if (files.empty()) {
      const std::string path = DisplayPath(statement->Path);
      context_.Messages.Error({"Для выбранного утверждения "_cp + path + " нет протоколов доказательства."_cp,
                               "There is no proof protocols for the statment " + path});
    }
    for (const TProtocolFile& file : files) {
      AppendLogLine(log, file.Path);
      const TVerified verified = Verify(*statement, file, true);
      if (verified != TVerified::Succeeded) AppendLogLine(log, "?");
      if (verified == TVerified::Stopped) return;
    }
  }
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
  openPrForm_ = new TOpenPrForm(this);
  openPrForm_->SetHelp([this](int topic) { emit HelpRequested(topic); });
  progressForm_ = new TProgressForm(this);
  timeForm_ = new TTimeForm(this);
  startReplay_ = [this](TStatement& statement, const std::string& path) { return ProtocolReplay(statement, path); };
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
