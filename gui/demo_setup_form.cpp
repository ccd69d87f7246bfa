#include "gui/demo_setup_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/settings.h"

namespace lemmix {

namespace {

// The Russian caption in the window; the English one as its tip.
QCheckBox* Box(const char* name, const std::string& russian, const char* english, QWidget* parent) {
  auto* box = new QCheckBox(ToQString(russian), parent);
  box->setObjectName(name);
  box->setToolTip(english);
  return box;
}

}  // namespace

TDemoSetupForm::TDemoSetupForm(TDemoSettings& settings, IMessages& messages, QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages) {
  setObjectName("DemoSetupForm");
  setWindowTitle("Setup of demo");
  fullProtocol_ = Box("FullProtocolBox", "Создавать файл полного протокола"_cp, "Create file for full protocol", this);
  visual_ = Box("VisualBox", "Показывать поле доказательства"_cp, "Show the proof field", this);
  through_ = Box("ThroughBox", "Доказывать подряд."_cp, "Prove through", this);
  connect(visual_, &QCheckBox::clicked, this, &TDemoSetupForm::KeepExclusive);
  connect(through_, &QCheckBox::clicked, this, &TDemoSetupForm::KeepExclusive);

  auto* ok = new QPushButton("Ok", this);
  auto* cancel = new QPushButton("Cancel", this);
  auto* help = new QPushButton(ToQString("Справка"_cp), this);
  ok->setObjectName("OkButton");
  cancel->setObjectName("CancelButton");
  help->setObjectName("HelpButton");
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  help->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, [this] {
    Store();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &TDemoSetupForm::OpenHelp);

  auto* layout = new QVBoxLayout(this);
  for (QCheckBox* box : {fullProtocol_, visual_, through_}) layout->addWidget(box);
  layout->addSpacing(8);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addWidget(help);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TDemoSetupForm::showEvent(QShowEvent* event) {
  fullProtocol_->setChecked(settings_.FullProtocol);
  visual_->setChecked(settings_.Visual);
  // Settings that hold both show the proof field, as the window would leave them.
  through_->setChecked(settings_.Through && !settings_.Visual);
  QDialog::showEvent(event);
}

void TDemoSetupForm::KeepExclusive() {
  if (!visual_->isChecked() || !through_->isChecked()) return;
  through_->setChecked(false);
  messages_.Info({"Для проведения многократных доказательств снимите флаг \"Показывать поле доказательства\"."_cp,
                  "To prove through you need to uncheck \"Show the prove field\" box."});
}

void TDemoSetupForm::Store() {
  settings_.FullProtocol = fullProtocol_->isChecked();
  settings_.Visual = visual_->isChecked();
  settings_.Through = through_->isChecked();
}

void TDemoSetupForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

void TDemoSetupForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    OpenHelp();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
