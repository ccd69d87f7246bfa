// The plain message window and the yes/no question window.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace lemmix {

// Shows one Russian text under the caption "Сообщение" or "Ошибка".
class TMessageForm : public QDialog {
  Q_OBJECT
 public:
  enum class Kind { Error, Info };

  explicit TMessageForm(QWidget* parent = nullptr);

  // Shows the text modally; the help button opens `openHelp` with the topic of the kind.
  void ShowMessage(Kind kind, const QString& text);
  void SetHelp(std::function<void(int topic)> openHelp) { openHelp_ = std::move(openHelp); }

  QLabel* Text() const { return text_; }

 private:
  QLabel* text_;
  QPushButton* help_;
  Kind kind_ = Kind::Info;
  std::function<void(int)> openHelp_;
};

// The question window: a text and the buttons "Yes" and "No"; "Yes" is the
// modal result 1.
class TQuestForm : public QDialog {
  Q_OBJECT
 public:
  explicit TQuestForm(QWidget* parent = nullptr);

  bool AskQuestion(const QString& question);

  QLabel* Question() const { return question_; }
  QPushButton* YesButton() const { return yes_; }
  QPushButton* NoButton() const { return no_; }

 private:
  QLabel* question_;
  QPushButton* yes_;
  QPushButton* no_;
};

}  // namespace lemmix
