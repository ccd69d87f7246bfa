// A list to choose one item from: the induction variable, the (in)equality
// to add to a marked one, a given object to substitute. Items are stored
// formula text and are shown in the formula font, a line or more each; a
// click on an item (or its button) chooses it, a double click or Enter
// confirms.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace lemmix {

class TMyEdit;

class TChooseForm : public QDialog {
  Q_OBJECT
 public:
  // Help topics: the proof window's for a list without a page of its own.
  static constexpr int kDefaultHelp = 21;
  static constexpr int kInductionVariableHelp = 215;
  static constexpr int kAddRelationHelp = 214;

  TChooseForm(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  // The chosen item after exec() == Accepted; -1 when none.
  int Chosen() const { return chosen_; }
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  int HelpTopic() const { return helpTopic_; }
  void SetHelpTopic(int topic) { helpTopic_ = topic; }

  // Chooses an item as a click on it does; out of range clears the choice.
  void Select(int item);
  int Selected() const { return selected_; }
  TMyEdit& List() { return *list_; }
  QLabel* CaptionLabel() const { return caption_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Take();
  void OpenHelp();
  int ItemOfLine(int line) const;

  TMyEdit* list_;
  std::vector<TMyEdit*> edits_;
  std::vector<int> firstLines_;  // the first line of each item; one more past the last
  QLabel* caption_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  int selected_ = -1;
  int chosen_ = -1;
  int helpTopic_ = kDefaultHelp;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
