// The proof window: the four sections of the current proof field, the menus
// of the proof commands, and the dialogs through which the driver asks. It
// lives while a proof field remains and blocks the other windows meanwhile.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "intrinsics/letter.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"

class QAction;
class QTimer;
class QLabel;
class QMenuBar;

namespace lemmix {

class TDemonstration;
class TInfoForm;
class TMyEdit;
class TQtDemoDisplay;
class TQtProofUi;
class TSession;

class TProveForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 21;
  static constexpr int kDemonstrationHelpTopic = 14;

  // The menu items, by the names tests find them under.
  enum class TItem {
    Define, Apply, Cases, Auxiliary, Conjecture, Contradiction, Induction, Undo, Info, Prove, Export, Help, Exit
  };

  TProveForm(TSession& context, const TBook& book, const TStatement& statement, QWidget* parent = nullptr);
  ~TProveForm() override;
  void SetHelp(std::function<void(int)> openHelp);

  // Starts the proof with the journal at the path; false (after the driver's
  // message) when the proof does not start.
  bool Start(const std::string& journalPath);
  // Resumes the interrupted proof of the journal (at the path, which it goes
  // on writing): its commands replayed, the student continues from the last
  // one. False (after a message) when no proof field remains to go on with.
  bool Resume(const std::vector<std::string>& journal, const std::string& journalPath);
  // Starts a demonstration of the protocol's lines: a key press replays the
  // next step, "Доказывать" hands the proof over to the student. With a full
  // protocol path, what the replay writes goes to that file. False (after
  // the message) when the demonstration does not start.
  bool StartDemonstration(std::vector<std::string> protocol, const std::string& fullProtocolPath = {});
  bool Demonstrating() const { return demo_ != nullptr; }
  // One step of the demonstration, as a key press runs it.
  void DemoStep();
  // The demonstration stops here and the student goes on proving.
  void TakeOver();

  // One command of the menus; marking an item runs the first marked one.
  void Run(TCommand command);
  void RunMarked();
  // The information window over the proof window.
  void ShowInfo();
  // Saves the protocol under a name the user gives.
  void SaveProtocol();
  // The proof so far, told in words, written as a page or a text where the user says.
  void ExportProof();

  QAction* Item(TItem item) const { return items_.at(item); }
  QMenuBar* Menu() const { return menu_; }
  // The views: given objects, given conditions, required objects, proving conditions.
  TMyEdit& View(TSection section) const;
  QLabel* Status() const { return status_; }
  QLabel* ContradictionFrame() const { return contradiction_; }
  TInfoForm& Info() const { return *info_; }
  const TProofDriver& Driver() const { return driver_; }
  const std::vector<std::string>& Protocol() const { return protocol_.Lines; }

 signals:
  void HelpRequested(int topic);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildMenu();
  void LayOut();
  // Re-reads the driver after a command: the views, caption and menus; at the
  // end of the proof the congratulation, the save offer and closing.
  void Refresh();
  void Fill(TMyEdit& view, const std::vector<TLetters>& lines);
  void Finish();
  // Runs one step of the driver with the status text shown.
  void Step(const std::function<void()>& step);
  // The save offer when the proof was not saved; then the proof is dropped.
  void OfferSave();
  // The proof is over: the journal is closed, marked as left on purpose
  // unless the proof succeeded, so that it is not offered for resuming.
  void CloseJournal();

  TSession& context_;
  const TBook& book_;
  const TStatement& statement_;
  std::unique_ptr<TQtProofUi> ui_;
  std::unique_ptr<TQtDemoDisplay> demoDisplay_;  // the dialogs a demonstration answers, shown filled in
  TProtocolRecorder protocol_;
  TProofDriver driver_;
  std::unique_ptr<TInfoForm> info_;
  std::unique_ptr<TDemonstration> demo_;
  QTimer* blink_;
  std::function<void(int)> openHelp_;
  bool saved_ = false;
  bool busy_ = false;
  bool finished_ = false;
  // The last subproof closed by the running command, shown when it ends.
  std::string subproofDone_;

  QMenuBar* menu_;
  std::map<TItem, QAction*> items_;
  std::vector<TMyEdit*> views_;  // children of the window, in the order of the sections
  std::vector<TMyEdit*> edits_;
  std::vector<QLabel*> labels_;
  QLabel* contradiction_;
  QLabel* status_;
};

}  // namespace lemmix
