// The input of one formula during a proof: a condition to consider, a factor,
// an expression to substitute, an initial value, a new name. The caption says
// what is asked; the edit may start with a default text.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace lemmix {

class TMyEdit;

class TFormulaInputForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 212;

  TFormulaInputForm(const QString& caption, const std::string& defaultText, QWidget* parent = nullptr);

  // The typed formula as stored text (Windows-1251); empty when the edit
  // holds nothing that reads as a formula.
  std::string Text() const;
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  TMyEdit& Edit() const { return *edit_; }
  QLabel* CaptionLabel() const { return caption_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Take();
  void OpenHelp();

  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  QLabel* caption_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
