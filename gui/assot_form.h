// The choice of an action for a marked condition: methods, superficial and
// associated transformations, one row each. While proving the user picks a
// row; in a demonstration the replay preselects it and the user confirms.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace lemmix {

class TAssotForm : public QDialog {
  Q_OBJECT
 public:
  // The help topic of the window when no row, or a row without help, is selected.
  static constexpr int kDefaultHelp = 26;

  struct TRow {
    std::string Name;  // cp1251; shown followed by "."
    int HelpTopic = -1;
  };

  explicit TAssotForm(QWidget* parent = nullptr);
  void SetHelp(std::function<void(int topic)> openHelp) { openHelp_ = std::move(openHelp); }

  // Shows the rows modally while proving; the chosen row, or -1 when cancelled.
  int Choose(const std::vector<TRow>& rows);
  // In a demonstration: the row is preselected and "Ok" is the only way on.
  int Confirm(const std::vector<TRow>& rows, int preselected);
  // The row chosen last (-1 when the window was cancelled).
  int ChosenRow() const { return chosen_; }
  int HelpTopic() const;

  QListWidget* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fill(const std::vector<TRow>& rows);
  void Take();

  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  std::vector<TRow> rows_;
  int chosen_ = -1;
  int preselected_ = -1;  // a demonstration's row; -1 while proving
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
