#include "gui/save_pr_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "proofrun/protocol_files.h"

namespace lemmix {

TSavePrForm::TSavePrForm(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this)) {
  setObjectName("SavePrForm");
  setWindowTitle("Save protocol file");
  edit_->setObjectName("NameEdit");
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setObjectName("OkButton");
  cancel->setObjectName("CancelButton");
  ok->setDefault(true);
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Input file name", this));
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  setMinimumWidth(360);
}

std::optional<std::string> TSavePrForm::AskName() {
  edit_->selectAll();
  edit_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return FromQString(edit_->text().trimmed());
}

bool TSavePrForm::SaveProtocol(const TStatement& statement, const std::vector<std::string>& lines, bool developerMode,
                               IMessages& messages, IQuestions& questions) {
  const std::optional<std::string> directory = ProtocolSaveDirectory(statement, developerMode, messages);
  if (!directory) return false;
  edit_->clear();
  while (const std::optional<std::string> name = AskName()) {
    switch (SaveProtocolAs(statement, *directory, *name, lines, developerMode, messages, questions)) {
      case TSaveVerdict::Saved:
        return true;
      case TSaveVerdict::Failed:
        return false;
      case TSaveVerdict::AskAgain:
        break;
    }
  }
  return false;
}

}  // namespace lemmix
