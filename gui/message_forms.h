// The plain message window and the yes/no question window.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "intrinsics/letter.h"

class QLabel;
class QPushButton;

namespace lemmix {

class TMyEdit;

// The program's message box: the text in a formula edit above "OK". The
// Russian text is shown; the English one travels with it.
class TMessageForm : public QDialog {
  Q_OBJECT
 public:
  // The modal result of "OK", Enter and Escape; any key during a demonstration gives 1.
  static constexpr int kClosed = 3;

  explicit TMessageForm(QWidget* parent = nullptr);
  ~TMessageForm() override;

  void ShowMessage(const std::string& rus, const std::string& eng, int mode);
  void ShowError(const std::string& rus, const std::string& eng, int mode);
  // A statement's formulation, given as stored formula text.
  void ShowFormulation(const std::string& storedText);
  void ShowErrorWithFormula(const std::string& rus, const std::string& eng, const TLetters& letters, int mode);
  void SetHelp(std::function<void(int topic)> openHelp) { openHelp_ = std::move(openHelp); }

  TMyEdit& Edit() { return *edit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class HelpKind { Error = 0, Message = 1, Formulation = 2 };
  void Fill(const std::string& text, int mode, const TLetters* letters);
  // Errors of an unattended verification go to its log; true when one went there.
  bool LoggedInstead(const std::string& rus);
  void OpenHelp();

  TMyEdit* edit_;  // a child of the form
  std::vector<TMyEdit*> edits_;
  QPushButton* help_;
  HelpKind helpKind_ = HelpKind::Message;
  std::function<void(int)> openHelp_;
};

// The question window: a text and the buttons "Yes" and "No"; "Yes" is the
// modal result 1.
class TQuestForm : public QDialog {
  Q_OBJECT
 public:
  explicit TQuestForm(QWidget* parent = nullptr);

  bool AskQuestion(const QString& question);

  QLabel* Question() const { return question_; }
  QPushButton* YesButton() const { return yes_; }
  QPushButton* NoButton() const { return no_; }

 private:
  QLabel* question_;
  QPushButton* yes_;
  QPushButton* no_;
};

}  // namespace lemmix
