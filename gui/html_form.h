// The textbook window: an HTML page of the book whose command links show a
// statement's formulation, prove it or replay its proof.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QAction;
class QTextBrowser;
class QUrl;

namespace lemmix {

class TSession;
class TPathName;
class TStatement;

class THtmlForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 12;
  static constexpr int kClosed = 1;
  static constexpr int kEscaped = 3;

  struct Commands {
    std::function<void(const std::string& formulation)> ShowFormulation;
    std::function<void(TStatement&)> Prove;
    std::function<void(TStatement&)> Demo;
    std::function<void(int topic)> OpenHelp;
  };

  // `inProof`: opened from a running proof, where no other proof may start.
  THtmlForm(TSession& context, bool inProof, QWidget* parent = nullptr);
  void SetCommands(Commands commands) { commands_ = std::move(commands); }

  // Shows the node's page modally; false (after the message) when it has none.
  bool Show(const TPathName& node);
  // Carries out a link: a command link runs its command, any other address is shown.
  void FollowLink(const QUrl& url);

  QTextBrowser* Browser() const { return browser_; }
  QAction* BackAction() const { return back_; }

 signals:
  // The window closed on a page of the book: the contents follow it.
  void ContentsFollow(const std::string& pageKey);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool RunCommand(const std::string& address);
  void CloseFollowing();

  TSession& context_;
  bool inProof_;
  Commands commands_;
  QTextBrowser* browser_;
  QAction* back_;
};

}  // namespace lemmix
