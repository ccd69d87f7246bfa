// The choice of the protocol to replay among those of a statement: its own
// and, for a user, those saved under "Protocols".
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace lemmix {

class TStatement;

struct TProtocolFile {
  std::string Name;  // without extension, cp1251
  std::string Path;  // DIRECTORY\NAME.prt in the system's path form
};

// The protocols of the statement in the order they are listed: those of its
// protocol directory, then in user mode those of its directory under "Protocols".
std::vector<TProtocolFile> StatementProtocols(const TStatement& statement, bool userMode);

class TOpenPrForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 141;

  explicit TOpenPrForm(QWidget* parent = nullptr);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  // The protocol to replay: the only one without asking, else the one chosen
  // in the window; nothing when there is none or the choice was cancelled.
  std::optional<TProtocolFile> Choose(const std::vector<TProtocolFile>& files);

  QListWidget* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OpenHelp();

  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  std::function<void(int)> openHelp_;
};

}  // namespace lemmix
