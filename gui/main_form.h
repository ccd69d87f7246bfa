// The main window: the contents tree, the search page and the row of buttons.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "book/statement.h"
#include "book/tree_menu.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QTreeWidgetItem;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace lemmix {

class TOpenPrForm;
class TProgressForm;
class TSession;
class TTimeForm;
struct TProtocolFile;
struct TReplaySteps;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 10;

  TMainForm(TSession& context, QWidget* parent = nullptr);

  // The start-up routine; the first loader that fails stops it, and the window
  // then closes when it is first shown.
  void Startup();
  // The mode changed: the trees show what the mode shows.
  void ModeChanged();

  // The book node an item of either tree shows.
  static TPathName* NodeOf(const QTreeWidgetItem* item);
  QTreeWidget* ContentsTree() const { return BookTree; }
  QTreeWidget* ResultTree() const { return SearchTree; }
  QMenu* Popup() const { return TreePopup; }
  QAction* MenuAction(TTreeMenuItem item) const { return actions_.at(item); }
  // Shows the popup menu for the item, as a right click on it does.
  void PreparePopup(QTreeWidget* tree, QTreeWidgetItem* item);
  void RunSearch();
  // The entry points of proving and replaying a statement.
  void Prove(TStatement& statement);
  // At start: a proof that the journal holds and that did not end (the
  // program was stopped) is offered for resuming; declined, it is not
  // offered again.
  void OfferResume();
  void Demo(TStatement& statement);
  // The replay of a protocol for its verification, started with the
  // statement and the protocol's path; nothing (after its message) when it
  // cannot start.
  using TReplayStarter = std::function<std::optional<TReplaySteps>(TStatement&, const std::string& protocolPath)>;
  void SetReplayStarter(TReplayStarter start) { startReplay_ = std::move(start); }
  TOpenPrForm& OpenPrForm() const { return *openPrForm_; }
  TProgressForm& ProgressForm() const { return *progressForm_; }
  TTimeForm& TimeForm() const { return *timeForm_; }
  // Shows a node's HTML page.
  void SetPageShower(std::function<void(const TPathName&)> show) { showPage_ = std::move(show); }
  // The window that views and edits statements.
  void SetStatementWindow(class TShowForm* window) { showForm_ = window; }
  // The contents select the node whose HTML page the key names.
  void FollowPage(const std::string& pageKey);
  // How the formulation of a statement is shown in user mode.
  void SetFormulaShower(std::function<void(const std::string& storedText)> show) { showFormula_ = std::move(show); }

 signals:
  void HelpRequested(int topic);
  void AboutRequested();
  void SetupRequested();
  // The closing order has run: the catalogues are gone.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetCaptions();
  void Exit();
  void LoadBook();
  void FillTree();
  void AddTreeChildren(QTreeWidgetItem* item, const TPathName& node);
  QTreeWidgetItem* NewItem(const TPathName& node);
  void ShowPopup(QTreeWidget* tree, const QPoint& position);
  void MenuChosen(TTreeMenuItem item);
  void EditSection(QTreeWidgetItem* item);
  void TitleEdited(QTreeWidgetItem* item);
  void EndTitleEdit(QTreeWidgetItem* item);
  void AddNode(bool before, bool after, bool child, const TStatement* from);
  void DeleteNode();
  void ToggleFavourite();
  void ShowOrigin();
  // False (after a message) when something could not be written.
  bool SaveBook();
  void BookChanged();
  TPathName* ParentOf(const TPathName& node) const;

  void ConnectBook();

  // How a verification ended; Stopped ends a run through many protocols.
  enum class TVerified { Succeeded, Failed, Stopped };
  TVerified Verify(TStatement& statement, const TProtocolFile& file, bool through);
  // The replay of the protocol in the proof window, step by step.
  void Demonstrate(TStatement& statement, const TProtocolFile& file);
  // Verifies every protocol of the statements from this one on, in the
  // order of the contents, with the log demo.prt in the data directory.
  void ProveThrough(TStatement& from);
  std::optional<TReplaySteps> ProtocolReplay(TStatement& statement, const std::string& protocolPath);
  // NAME.fpr beside NAME.prt when the full protocol is to be written, else empty.
  std::string FullProtocolPath(const std::string& protocolPath) const;

  TStatement copyBuffer_;
  // The section whose title is being edited in the tree; only its change is taken.
  QTreeWidgetItem* titleItem_ = nullptr;
  std::function<void(const std::string&)> showFormula_;
  std::function<void(const TPathName&)> showPage_;
  TShowForm* showForm_ = nullptr;
  QTreeWidget* popupTree_ = nullptr;
  QTreeWidgetItem* popupItem_ = nullptr;
  std::map<TTreeMenuItem, QAction*> actions_;
  TReplayStarter startReplay_;
  TOpenPrForm* openPrForm_;
  TProgressForm* progressForm_;
  TTimeForm* timeForm_;
  QMenu* TreePopup;

  TSession& context_;
  bool shown_ = false;
  bool closed_ = false;

  QTabWidget* Pages;
  QWidget* TreePage;
  QWidget* SearchPage;
  QTreeWidget* BookTree;
  QComboBox* SearchCombo;
  QLineEdit* SearchEdit;
  QPushButton* SearchButton;
  QTreeWidget* SearchTree;
  QLabel* Label1;
  QLabel* Label2;
  QPushButton* SaveButton;
  QPushButton* EndButton;
  QPushButton* AboutButton;
  QPushButton* SetupButton;
  QPushButton* HelpButton;
};

}  // namespace lemmix
