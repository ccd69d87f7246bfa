// A list to choose one item from: the induction variable, the (in)equality
// to add to a marked one. Items are stored formula text and are shown in the
// formula font, a line or more each; a click on an item (or its button)
// chooses it, a double click or Enter confirms.
#pragma once

#include <QDialog>
#include <QRect>
#include <QStringList>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace lemmix {

class TMyEdit;

// The list of items of TChooseForm and of the substitution dialog: a
// read-only formula edit with a button before each line, the items laid out
// as the formula views lay out stored text (a text that is no formula shows
// as it is). A click on an item or its button selects it, the arrow keys of
// the widgets handed to TakeArrowsFrom move the selection, a double click
// activates the item.
class TFormulaList : public QObject {
  Q_OBJECT
 public:
  // Placed on the form at the top left of `area`: a short list takes the
  // height it needs (at least minHeight), a long one scrolls in the area.
  TFormulaList(QWidget* form, const QStringList& items, const QRect& area, int minHeight);

  int Count() const { return static_cast<int>(firstLines_.size()) - 1; }
  // Selects the item; out of range (or an empty item) clears the selection.
  void Select(int item);
  int Selected() const { return selected_; }
  TMyEdit& Edit() const { return *edit_; }
  // The rectangle the list takes on the form.
  QRect Outer() const;
  void TakeArrowsFrom(QWidget* widget);

 signals:
  // The user has selected an item (or cleared the selection: -1).
  void Picked(int item);
  // A double click on an item.
  void Activated(int item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int ItemOfLine(int line) const;
  // The line shown at the height y of the paint box; -1 below the last one.
  int LineAt(int y) const;
  void Pick(int item);

  QWidget* form_;
  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  std::vector<int> firstLines_;  // the first line of each item; one more past the last
  int selected_ = -1;
};

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
  int Selected() const { return list_->Selected(); }
  TMyEdit& List() { return list_->Edit(); }
  QLabel* CaptionLabel() const { return caption_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Take();
  void OpenHelp();

  TFormulaList* list_;
  QLabel* caption_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  int chosen_ = -1;
  int helpTopic_ = kDefaultHelp;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
