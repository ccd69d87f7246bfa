#include "gui/help_form.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"

namespace lemmix {

THelpForm::THelpForm(const std::string& dataDir, IMessages& messages, QWidget* parent)
    : QDialog(parent), dataDir_(dataDir), messages_(messages), browser_(new QTextBrowser(this)) {
  setWindowTitle(ToQString("Справка Леммикс"_cp));
  resize(640, 480);
  browser_->setOpenExternalLinks(false);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(ToQString("Закрыть"_cp), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
}

bool THelpForm::LoadTopic(int topic) {
  const std::string path = dataDir_ + "\\help\\" + std::to_string(topic) + ".html";
  if (!FileExists(path)) {
    messages_.Error({"Раздел справки "_cp + std::to_string(topic) + " не найден: "_cp + DisplayPath(path),
                     "Help topic " + std::to_string(topic) + " is not found: " + DisplayPath(path)});
    return false;
  }
  browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(NativePath(path))));
  return true;
}

void THelpForm::ShowTopic(int topic) {
  if (LoadTopic(topic)) exec();
}

}  // namespace lemmix
