// The dialog in which the proof window asks how a new variable is defined:
// by one formula, by cases (value, condition, value, condition ...), or
// recursively.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace lemmix {

class TMyEdit;

class TTheDefForm : public QDialog {
  Q_OBJECT
 public:
  explicit TTheDefForm(QWidget* parent = nullptr);

  // Shows the dialog modally; read-only shows a definition without changing it.
  int Execute(bool readOnly);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  int HelpTopic() const;

  QTabWidget* Pages() const { return Pages_; }
  TMyEdit& SimpleEdit() { return *simple_; }
  TMyEdit& RecurEdit() { return *recur_; }
  // The conditions page: the variable, then values and conditions in turn.
  const std::vector<TMyEdit*>& CondEdits() const { return condEdits_; }
  std::vector<QString> CondLabels() const;
  QPushButton* AddButton() const { return AddButton_; }
  QPushButton* DelButton() const { return DelButton_; }
  QPushButton* DelAllButton() const { return DelAllButton_; }

  void AddCase();
  void DeleteLast();
  void DeleteAll();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TMyEdit* NewCondEdit();
  void LayOutConditions();
  void PageChanged();
  void UpdateDeleteButtons();

  QTabWidget* Pages_;
  QWidget* condBox_;
  QScrollArea* condScroll_;
  TMyEdit* simple_;
  TMyEdit* recur_;
  std::vector<TMyEdit*> condEdits_;
  std::vector<QLabel*> condLabels_;
  std::vector<TMyEdit*> allEdits_;
  QLabel* brace_;
  QPushButton* AddButton_;
  QPushButton* DelButton_;
  QPushButton* DelAllButton_;
  QPushButton* cancel_;
  bool readOnly_ = false;
  int shownPage_ = 0;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
