#include "gui/atr_setup_forms.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <functional>

#include "shell/settings.h"

namespace lemmix {

namespace {

// A box whose caption toggles it as well (Qt's check box text is clickable).
QCheckBox* Box(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

// A titled group of radio buttons numbered 0, 1, 2 in the button group.
QButtonGroup* Choice(const char* name, const QString& title, const QStringList& items, QWidget* parent,
                     QVBoxLayout* into, bool inRow = false) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  auto* buttons = new QButtonGroup(group);
  QBoxLayout* layout = inRow ? static_cast<QBoxLayout*>(new QHBoxLayout(group)) : new QVBoxLayout(group);
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], group);
    buttons->addButton(radio, i);
    layout->addWidget(radio);
  }
  into->addWidget(group);
  return buttons;
}

void Check(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

// "Ok" stores, "Cancel" leaves the settings as they were.
void AddOkCancel(QDialog* dialog, QVBoxLayout* layout, const std::function<void()>& store) {
  auto* ok = new QPushButton("Ok", dialog);
  auto* cancel = new QPushButton("Cancel", dialog);
  ok->setObjectName("OkButton");
  cancel->setObjectName("CancelButton");
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, store] {
    store();
    dialog->accept();
  });
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

const QStringList kNeverNewAlways = {"never", "for new conditions", "always"};

}  // namespace

TATrSetupForm::TATrSetupForm(TAutoSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName("ATrSetupForm");
  setWindowTitle("Setup automatical transformations 1");
  auto* layout = new QVBoxLayout(this);
  StandardBox_ = Box("StandardBox", "   Automatically standardize", this);
  MainBox_ = Box("MainBox", "   Use symbol transformation package", this);
  TestDataCondBox_ =
      Box("TestDataCondBox", "   Test validity of new aritmetic expressions in section \"Given conditions\"", this);
  TestProveCondBox_ =
      Box("TestProveCondBox", "   Test validity of new aritmetic expressions in section \"Proving conditions\"", this);
  TestProveCondWhenDataNewBox_ = Box("TestProveCondWhenDataNewBox",
                                     "   Test validity of aritmetic expressions in section \"Proving conditions\"\n"
                                     "   again when a new given condition arises",
                                     this);
  for (QCheckBox* box : {StandardBox_, MainBox_, TestDataCondBox_, TestProveCondBox_, TestProveCondWhenDataNewBox_})
    layout->addWidget(box);
  connect(MainBox_, &QCheckBox::toggled, this, &TATrSetupForm::PackageToggled);
  defineProveObject_ = Choice("DefineProveObject", "In defining a required variable",
                              {"Dialog with user", "Always add object", "Always substitute value"}, this, layout);
  AddOkCancel(this, layout, [this] { Store(); });
}

void TATrSetupForm::PackageToggled(bool on) {
  for (QCheckBox* box : {TestDataCondBox_, TestProveCondBox_, TestProveCondWhenDataNewBox_}) {
    if (!on) box->setChecked(false);
    box->setEnabled(on);
  }
}

void TATrSetupForm::showEvent(QShowEvent* event) {
  StandardBox_->setChecked(settings_.AutoStandard);
  MainBox_->setChecked(settings_.SymbolTransEnable);
  PackageToggled(settings_.SymbolTransEnable);
  if (settings_.SymbolTransEnable) {
    TestDataCondBox_->setChecked(settings_.TestDataCond);
    TestProveCondBox_->setChecked(settings_.TestProveCond);
    TestProveCondWhenDataNewBox_->setChecked(settings_.TestProveCondWhenDataNew);
  }
  Check(defineProveObject_, settings_.DefineProveObject);
  QDialog::showEvent(event);
}

void TATrSetupForm::Store() {
  settings_.AutoStandard = StandardBox_->isChecked();
  settings_.SymbolTransEnable = MainBox_->isChecked();
  settings_.TestDataCond = TestDataCondBox_->isChecked();
  settings_.TestProveCond = TestProveCondBox_->isChecked();
  settings_.TestProveCondWhenDataNew = TestProveCondWhenDataNewBox_->isChecked();
  if (defineProveObject_->checkedId() >= 0) settings_.DefineProveObject = defineProveObject_->checkedId();
}

TATrSetupForm2::TATrSetupForm2(TAutoSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName("ATrSetupForm2");
  setWindowTitle("Setup automatical transformations 2");
  auto* layout = new QVBoxLayout(this);

  auto* finish = new QGroupBox("Automatic test to complete the (sub)proof in one step", this);
  auto* finishLayout = new QVBoxLayout(finish);
  const char* const names[] = {"EnableBox", "QuantorBox", "RequiredBox", "DisjunctionBox"};
  const char* const captions[] = {"enable", "substitute for quantor variables", "substitute for required variables",
                                  "prove disjunctions by contradiction"};
  for (int i = 0; i < 4; ++i) {
    finish_[i] = Box(names[i], captions[i], finish);
    finishLayout->addWidget(finish_[i]);
  }
  connect(finish_[0], &QCheckBox::toggled, this, [this](bool on) {
    if (!on)
      for (int i = 1; i < 4; ++i) finish_[i]->setChecked(false);
  });
  layout->addWidget(finish);

  auto* simplify = new QGroupBox("Automatic test to simplify logical expressions", this);
  auto* simplifyLayout = new QVBoxLayout(simplify);
  proveEachCond_ =
      Choice("ProveEachCond", "Try to prove each condition", kNeverNewAlways, simplify, simplifyLayout, true);
  implicationSimpl_ =
      Choice("ImplicationSimpl", "Try to simplify implications", kNeverNewAlways, simplify, simplifyLayout, true);
  disjunctionSimpl_ = Choice("DisjunctionSimpl", "Try to simplify disjunctions",
                             {"never", "for new conditons", "always"}, simplify, simplifyLayout, true);
  layout->addWidget(simplify);
  AddOkCancel(this, layout, [this] { Store(); });
}

void TATrSetupForm2::showEvent(QShowEvent* event) {
  finish_[0]->setChecked(settings_.OneStepFinish0);
  finish_[1]->setChecked(settings_.OneStepFinish1);
  finish_[2]->setChecked(settings_.OneStepFinish2);
  finish_[3]->setChecked(settings_.OneStepFinish3);
  Check(proveEachCond_, settings_.ProveEachCond);
  Check(implicationSimpl_, settings_.ImplicationSimpl);
  Check(disjunctionSimpl_, settings_.DisjunctionSimpl);
  QDialog::showEvent(event);
}

void TATrSetupForm2::Store() {
  settings_.OneStepFinish0 = finish_[0]->isChecked();
  settings_.OneStepFinish1 = finish_[1]->isChecked();
  settings_.OneStepFinish2 = finish_[2]->isChecked();
  settings_.OneStepFinish3 = finish_[3]->isChecked();
  for (auto [group, value] :
       {std::pair{proveEachCond_, &settings_.ProveEachCond}, std::pair{implicationSimpl_, &settings_.ImplicationSimpl},
        std::pair{disjunctionSimpl_, &settings_.DisjunctionSimpl}})
    if (group->checkedId() >= 0) *value = group->checkedId();
}

}  // namespace lemmix
