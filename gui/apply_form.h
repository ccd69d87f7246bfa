// The choice of a statement to apply in a proof: the book's chapters,
// paragraphs and statements up to the statement being proved, a search by
// name, and the formulation of the selected statement. Only a statement that
// stands before the proved one and has a formulation can be applied.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lemmix {

class TBook;
class TMyEdit;
class TStatement;

class TApplyForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 211;

  TApplyForm(const TBook& book, const TStatement& proved, QWidget* parent = nullptr);

  // The statement chosen after exec() == Accepted; nothing before.
  const TStatement* Chosen() const { return chosen_; }
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  // Shows only the statements whose names (or whose sections' names) hold
  // the text, ignoring case; the first of them becomes current. False when
  // nothing matches (then the whole tree stays shown).
  bool Search(const QString& text);
  // Makes the statement current as a click on it does; false when it is not offered.
  bool Select(const TStatement& statement);
  // The statement of the current row, if that row is one that can be applied.
  const TStatement* Selected() const;

  QTreeWidget* Tree() const { return tree_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* SearchResult() const { return found_; }
  TMyEdit& Formulation() const { return *formulation_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill(const TBook& book, const TStatement& proved);
  void CurrentChanged();
  void Take();
  void OpenHelp();
  static const TStatement* StatementOf(const QTreeWidgetItem* item);

  QTreeWidget* tree_;
  QLineEdit* search_;
  QLabel* found_;
  QLabel* title_;
  TMyEdit* formulation_;
  std::vector<TMyEdit*> edits_;
  QPushButton* apply_;
  QPushButton* cancel_;
  QPushButton* help_;
  QTreeWidgetItem* nearest_ = nullptr;  // the last statement before the proved one
  const TStatement* chosen_ = nullptr;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
