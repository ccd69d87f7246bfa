// The nonstationary variables of an induction step: one check box per given
// object that may change with the induction variable, its name shown in the
// formula font. None marked is an answer too: every object stays fixed.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lemmix {

class TMyEdit;

class TInductionForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 213;

  TInductionForm(const QString& caption, const QStringList& names, QWidget* parent = nullptr);

  // One mark per name, in the order given.
  std::vector<bool> Marks() const;
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  const std::vector<QCheckBox*>& Boxes() const { return boxes_; }
  TMyEdit& Name(std::size_t i) const { return *names_[i]; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OpenHelp();

  std::vector<QCheckBox*> boxes_;
  std::vector<TMyEdit*> names_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
