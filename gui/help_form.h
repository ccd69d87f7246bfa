// The help window: the HTML page data directory + "\help\N.html" of a topic.
#pragma once

#include <QDialog>
#include <string>

class QTextBrowser;

namespace lemmix {

class IMessages;

class THelpForm : public QDialog {
  Q_OBJECT
 public:
  THelpForm(const std::string& dataDir, IMessages& messages, QWidget* parent = nullptr);

  // Shows the topic modally; a missing page is reported instead.
  void ShowTopic(int topic);
  // Loads the topic's page without showing the window; false when it is missing.
  bool LoadTopic(int topic);

  QTextBrowser* Browser() const { return browser_; }

 private:
  const std::string& dataDir_;
  IMessages& messages_;
  QTextBrowser* browser_;
};

}  // namespace lemmix
