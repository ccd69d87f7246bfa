// The two windows of the settings of automatic transformations: what the
// prover does by itself after each step. Both show the settings in force and
// store the controls on "Ok" only.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;

namespace lemmix {

struct TAutoSettings;

// Settings 1: standardisation, the symbol transformation package and its
// arithmetic tests, and what defining a required variable does.
class TATrSetupForm : public QDialog {
  Q_OBJECT
 public:
  explicit TATrSetupForm(TAutoSettings& settings, QWidget* parent = nullptr);

  QCheckBox* StandardBox() const { return StandardBox_; }
  QCheckBox* MainBox() const { return MainBox_; }
  QCheckBox* TestDataCondBox() const { return TestDataCondBox_; }
  QCheckBox* TestProveCondBox() const { return TestProveCondBox_; }
  QCheckBox* TestProveCondWhenDataNewBox() const { return TestProveCondWhenDataNewBox_; }
  QButtonGroup* DefineProveObjectGroup() const { return defineProveObject_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Store();
  // The package off: its tests are off and cannot be chosen.
  void PackageToggled(bool on);

  TAutoSettings& settings_;
  QCheckBox* StandardBox_;
  QCheckBox* MainBox_;
  QCheckBox* TestDataCondBox_;
  QCheckBox* TestProveCondBox_;
  QCheckBox* TestProveCondWhenDataNewBox_;
  QButtonGroup* defineProveObject_;
};

// Settings 2: finishing a (sub)proof in one step and simplifying logical
// expressions.
class TATrSetupForm2 : public QDialog {
  Q_OBJECT
 public:
  explicit TATrSetupForm2(TAutoSettings& settings, QWidget* parent = nullptr);

  QCheckBox* EnableBox() const { return finish_[0]; }
  // 1 quantor variables, 2 required variables, 3 disjunctions by contradiction.
  QCheckBox* FinishBox(int index) const { return finish_[index]; }
  QButtonGroup* ProveEachCondGroup() const { return proveEachCond_; }
  QButtonGroup* ImplicationSimplGroup() const { return implicationSimpl_; }
  QButtonGroup* DisjunctionSimplGroup() const { return disjunctionSimpl_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Store();

  TAutoSettings& settings_;
  QCheckBox* finish_[4];
  QButtonGroup* proveEachCond_;
  QButtonGroup* implicationSimpl_;
  QButtonGroup* disjunctionSimpl_;
};

}  // namespace lemmix
