// The substitution into a universally quantified given condition, one bound
// variable at a time: a given object of the list or a typed expression takes
// the variable's place, or the variable stays quantified ("Не подставлять").
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "proofrun/proof_ui.h"

class QLabel;
class QPushButton;

namespace lemmix {

class TFormulaList;
class TMyEdit;

class TSubstForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 219;

  // The variable and the candidates are stored formula text (Windows-1251).
  TSubstForm(const std::string& variable, const QStringList& candidates, QWidget* parent = nullptr);

  // After exec() == Accepted: the index of the chosen candidate, the typed
  // expression as stored text, or the refusal; nothing after Cancel.
  const std::optional<TSubstituteAnswer>& Answer() const { return answer_; }
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  // Selects a candidate as a click on it does: the typed expression goes.
  void Select(int item);
  int Selected() const;
  TMyEdit& List() const;
  TMyEdit& Edit() const { return *edit_; }
  QLabel* CaptionLabel() const { return caption_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* RefuseButton() const { return refuse_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool EditBlank() const;
  // Typing in the edit drops the candidate chosen in the list.
  void Typed();
  void Take();
  void Refuse();
  void OpenHelp();

  TFormulaList* list_ = nullptr;
  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  QLabel* caption_;
  QPushButton* ok_;
  QPushButton* refuse_;
  QPushButton* cancel_;
  QPushButton* help_;
  std::optional<TSubstituteAnswer> answer_;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
