#include "gui/setup_form.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/context.h"
#include "shell/cp1251.h"

namespace lemmix {

TSetupForm::TSetupForm(TContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setObjectName("SetupForm");
  setWindowTitle(ToQString("Настройка"_cp));
  ArithmTransButton = new QPushButton(ToQString("Автоматические преобразования 1"_cp), this);
  AutoTransButton = new QPushButton(ToQString("Автоматические преобразования 2"_cp), this);
  DemoButton = new QPushButton(ToQString("Настройки демонстрации"_cp), this);
  ExitButton = new QPushButton("OK", this);
  ArithmTransButton->setObjectName("ArithmTransButton");
  AutoTransButton->setObjectName("AutoTransButton");
  DemoButton->setObjectName("DemoButton");
  ExitButton->setObjectName("ExitButton");
  for (QPushButton* button : {ArithmTransButton, AutoTransButton, DemoButton}) button->setAutoDefault(false);
  atrSetup1_ = new TATrSetupForm(context_.Settings, this);
  atrSetup2_ = new TATrSetupForm2(context_.Settings, this);
  demoSetup_ = new TDemoSetupForm(context_.Settings.Demo, context_.Messages, this);
  // Each settings window replaces the Setup window.
  connect(ArithmTransButton, &QPushButton::clicked, this, [this] {
    atrSetup1_->exec();
    accept();
  });
  connect(AutoTransButton, &QPushButton::clicked, this, [this] {
    atrSetup2_->exec();
    accept();
  });
  connect(DemoButton, &QPushButton::clicked, this, [this] {
    demoSetup_->exec();
    accept();
  });
  ExitButton->setDefault(true);
  connect(ExitButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* group = new QGroupBox(ToQString("Режим"_cp), this);
  group->setObjectName("RadioGroup");
  UserMode = new QRadioButton(ToQString("Пользователь"_cp), group);
  DeveloperMode = new QRadioButton(ToQString("Разработчик"_cp), group);
  UserMode->setObjectName("UserMode");
  DeveloperMode->setObjectName("DeveloperMode");
  UserMode->setChecked(true);
  auto* modes = new QButtonGroup(this);
  modes->addButton(UserMode, 0);
  modes->addButton(DeveloperMode, 1);
  connect(modes, &QButtonGroup::idClicked, this, [this](int id) {
    context_.DeveloperMode = id == 1;
    emit ModeClicked();
  });
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(UserMode);
  groupLayout->addWidget(DeveloperMode);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ArithmTransButton);
  layout->addWidget(AutoTransButton);
  layout->addWidget(DemoButton);
  layout->addWidget(group);
  auto* okRow = new QHBoxLayout;
  okRow->addStretch();
  okRow->addWidget(ExitButton);
  layout->addLayout(okRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TSetupForm::showEvent(QShowEvent* event) {
  (context_.DeveloperMode ? DeveloperMode : UserMode)->setChecked(true);
  ExitButton->setFocus();
  QDialog::showEvent(event);
}

}  // namespace lemmix
