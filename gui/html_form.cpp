#include "gui/html_form.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "book/html_links.h"
#include "gui/qtext.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

THtmlForm::THtmlForm(TSession& context, bool inProof, QWidget* parent)
    : QDialog(parent), context_(context), inProof_(inProof), browser_(new QTextBrowser(this)) {
  setObjectName(inProof ? "HtmlForm1" : "HtmlForm");
  setWindowTitle(ToQString("Интерактивный учебник"_cp));
  auto* menu = new QMenuBar(this);
  back_ = menu->addAction(ToQString("Назад"_cp));
  back_->setObjectName("BackAction");
  back_->setEnabled(false);
  QAction* help = menu->addAction(ToQString("Справка"_cp));
  QAction* close = menu->addAction(ToQString("Закрыть"_cp));
  close->setObjectName("CloseAction");
  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(help, &QAction::triggered, this, [this] {
    if (commands_.OpenHelp) commands_.OpenHelp(kHelpTopic);
  });
  connect(close, &QAction::triggered, this, &THtmlForm::CloseFollowing);
  browser_->setOpenLinks(false);  // every link passes the command check first
  connect(browser_, &QTextBrowser::anchorClicked, this, &THtmlForm::FollowLink);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu);
  layout->addWidget(browser_);
  resize(760, 560);
}

bool THtmlForm::Show(const TPathName& node) {
  if (node.Lines[kHtmlLine].empty()) {
    context_.Messages.Error({"Для данного утверждения нет текста HTML."_cp, "The statement has no html text."});
    return false;
  }
  // A place "page.htm#id" is the page's file and a fragment, not a file name with "#" in it.
  const std::string& reference = node.Lines[kHtmlLine];
  const std::size_t hash = reference.find('#');
  QUrl page = QUrl::fromLocalFile(QString::fromStdString(NativePath(context_.BookPath + "\\" + reference.substr(0, hash))));
  if (hash != std::string::npos) page.setFragment(ToQString(reference.substr(hash + 1)));
  browser_->clearHistory();
  browser_->setSource(page);
  back_->setEnabled(true);
  exec();
  return true;
}

void THtmlForm::FollowLink(const QUrl& url) {
  const std::string address = FromQString(url.toString());
  if (IsCommandLink(address)) {
    if (!RunCommand(address)) {
      context_.Messages.Error({"Несуществующий адрес: "_cp + WithSlashes(address), "Invalid address: " + WithSlashes(address)});
    }
    return;
  }
  browser_->setSource(browser_->source().resolved(url));
}

bool THtmlForm::RunCommand(const std::string& address) {
  const std::optional<THtmlCommand> command = ParseCommandLink(address);
  if (!command || !context_.Book) return false;
  TStatement* statement = FindStatementByPath(*context_.Book, command->Path);
  if (!statement) {
    const std::string path = WithSlashes(command->Path);
    context_.Messages.Error({"Неверный путь к файлу утверждения: "_cp + path, "Wrong path to statement file: " + path});
    return false;
  }
  switch (command->Kind) {
    case THtmlCommandKind::Logi: {
      if (statement->Lines.size() <= 5) {
        const std::string path = DisplayPath(statement->Path);
        context_.Messages.Error({"Неверное содержимое в файле утверждения: "_cp + path,
                                 "Wrong content of statement file: " + path});
        return false;
      }
      if (commands_.ShowFormulation) commands_.ShowFormulation(statement->Lines[5]);
      return true;
    }
    case THtmlCommandKind::Prove:
      if (inProof_) {
        context_.Messages.Error({"Открыто доказательство, поэтому нельзя начать новое доказательство."_cp,
                                 "Proof is running therefore new proof is disabled."});
        return false;
      }
      if (commands_.Prove) commands_.Prove(*statement);
      return true;
    case THtmlCommandKind::Demo:
      if (inProof_) {
        context_.Messages.Error({"Открыто доказательство, поэтому нельзя начать демонстрацию нового доказательства."_cp,
                                 "Proof is running therefore new demonstration of proof is disabled."});
        return false;
      }
      if (commands_.Demo) commands_.Demo(*statement);
      return true;
  }
  return false;
}

void THtmlForm::CloseFollowing() {
  if (const std::optional<std::string> key = PageKey(FromQString(browser_->source().toString())))
    emit ContentsFollow(*key);
  done(kClosed);
}

void THtmlForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (commands_.OpenHelp) commands_.OpenHelp(kHelpTopic);
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    done(kEscaped);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
