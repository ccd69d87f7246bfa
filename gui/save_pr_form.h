// The name of a protocol to save: asked again until a name is taken or the
// user cancels.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace lemmix {

class IMessages;
class IQuestions;
class TStatement;

class TSavePrForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSavePrForm(QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return edit_; }
  // The name typed (cp1251), or nothing when cancelled.
  std::optional<std::string> AskName();

  // Saves the lines as a protocol of the statement under a name the user
  // gives; false when cancelled or when the directory or file cannot be written.
  bool SaveProtocol(const TStatement& statement, const std::vector<std::string>& lines, bool developerMode,
                    IMessages& messages, IQuestions& questions);

 private:
  QLineEdit* edit_;
};

}  // namespace lemmix
