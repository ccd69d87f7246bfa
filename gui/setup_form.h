// The Setup window: the user/developer mode and the doors to the settings windows.
#pragma once

#include <QDialog>
#include <functional>

#include "gui/atr_setup_forms.h"
#include "gui/demo_setup_form.h"

class QPushButton;
class QRadioButton;

namespace lemmix {

class TContext;

class TSetupForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSetupForm(TContext& context, QWidget* parent = nullptr);

  TATrSetupForm& ATrSetupForm() { return *atrSetup1_; }
  TATrSetupForm2& ATrSetupForm2() { return *atrSetup2_; }
  TDemoSetupForm& DemoSetupForm() { return *demoSetup_; }
  // The help of the windows opened from here.
  void SetHelp(std::function<void(int)> openHelp) { demoSetup_->SetHelp(std::move(openHelp)); }

 signals:
  // Every click on the mode group.
  void ModeClicked();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TContext& context_;
  QPushButton* ArithmTransButton;
  QPushButton* AutoTransButton;
  QPushButton* DemoButton;
  QPushButton* ExitButton;
  QRadioButton* UserMode;
  QRadioButton* DeveloperMode;
  TATrSetupForm* atrSetup1_;
  TATrSetupForm2* atrSetup2_;
  TDemoSetupForm* demoSetup_;
};

}  // namespace lemmix
