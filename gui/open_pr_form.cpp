#include "gui/open_pr_form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "book/statement.h"
#include "gui/qtext.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

std::vector<TProtocolFile> StatementProtocols(const TStatement& statement, bool userMode) {
  // The names come directory by directory: the statement's own first, so a
  // name is looked for there first.
  const std::size_t own = statement.ProtocolNames(false).size();
  std::vector<TProtocolFile> files;
  for (const std::string& name : statement.ProtocolNames(userMode)) {
    const std::string& directory =
        files.size() < own ? statement.ProtocolDirectory() : statement.UserProtocolDirectory();
    files.push_back({name, directory + "\\" + name + ".prt"});
  }
  return files;
}

TOpenPrForm::TOpenPrForm(QWidget* parent)
    : QDialog(parent),
      list_(new QListWidget(this)),
      ok_(new QPushButton("Ok", this)),
      cancel_(new QPushButton("Cancel", this)),
      help_(new QPushButton(ToQString("Справка"_cp), this)) {
  setObjectName("OpenPrForm");
  setWindowTitle("Select protocol file");
  list_->setObjectName("List");
  ok_->setObjectName("OkButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  cancel_->setAutoDefault(false);
  help_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TOpenPrForm::OpenHelp);
  // Nothing is chosen until a protocol is selected, by a click or the keys.
  connect(list_, &QListWidget::itemSelectionChanged, this,
          [this] { ok_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    list_->setCurrentItem(item);
    accept();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(help_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(ToQString("Протоколы доказательства утверждения:"_cp), this));
  layout->addWidget(list_);
  layout->addLayout(buttons);
  resize(380, 300);
}

std::optional<TProtocolFile> TOpenPrForm::Choose(const std::vector<TProtocolFile>& files) {
  if (files.size() <= 1) return files.empty() ? std::nullopt : std::optional(files.front());
  list_->clear();
  for (std::size_t i = 0; i < files.size(); ++i) {
    auto* item = new QListWidgetItem(ToQString(files[i].Name), list_);
    item->setData(Qt::UserRole, static_cast<int>(i));
  }
  list_->clearSelection();
  list_->setCurrentItem(nullptr);
  ok_->setEnabled(false);
  list_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return files[selected.front()->data(Qt::UserRole).toInt()];
}

void TOpenPrForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

void TOpenPrForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    OpenHelp();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
