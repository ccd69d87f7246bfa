// The method windows of the statement window: the dialog that chooses the
// method type and the three forms that edit a method statement's data (its
// lines 7..22, laid out as book/method_lines.h says). They check only what
// the text itself shows; the statement window's "Ok" builds the method.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lemmix {

class IMessages;
class TBook;
class TMyEdit;
class TStatement;

// A formula field as its line stores it: one line, a blank between any two
// items (lines a paste may bring are joined). Nothing when it is no formula.
std::optional<std::string> MethodFieldText(const TMyEdit& edit);

// The English names of the method statements of the book, in book order.
std::vector<std::string> MethodNames(const TBook& book);

// "Method properties": Dialog/Automatic and Superficial/Deep.
class TMethodTypeForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 600;

  explicit TMethodTypeForm(QWidget* parent = nullptr);

  // Shows the stored type (line 7); the chosen type 0..3 after "Ok".
  std::optional<int> Choose(const std::string& storedType, bool readOnly);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }

  QRadioButton* DialogRadio() const { return dialog_; }
  QRadioButton* AutomaticRadio() const { return automatic_; }
  QRadioButton* SuperficialRadio() const { return superficial_; }
  QRadioButton* DeepRadio() const { return deep_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRadioButton* dialog_;
  QRadioButton* automatic_;
  QRadioButton* superficial_;
  QRadioButton* deep_;
  QPushButton* ok_;
  QPushButton* cancel_;
  std::function<void(int)> openHelp_;
};

// One of the three method forms. Every field shows one line of the statement;
// "Ok" writes them all back only when each one is right.
class TMethodForm : public QDialog {
  Q_OBJECT
 public:
  enum class TKind { Superficial, DialogDeep, AutomaticDeep };

  TMethodForm(TKind kind, IMessages& messages, QWidget* parent = nullptr);

  // Edits the method data of the statement as a method of the type (line 7);
  // true when "Ok" wrote them.
  bool Edit(TStatement& statement, int type, bool readOnly);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  void SetMethodNames(std::function<std::vector<std::string>()> names) { methodNames_ = std::move(names); }
  int HelpTopic() const;

  // The formula edit or text field of a line of the statement; nullptr when the form has none.
  TMyEdit* Formula(int line) const;
  QLineEdit* TextField(int line) const;
  QComboBox* Connective() const { return connective_; }
  QCheckBox* NegationEnabled() const { return negation_; }
  QCheckBox* Terminal() const { return terminal_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // The label texts of the form, top to bottom, left column first.
  QStringList Labels() const;

  // "Ok": writes the lines and closes when every field is right.
  bool Confirm();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct TFormulaField {
    int Line;
    TMyEdit* Edit;
  };
  struct TTextField {
    int Line;
    QLineEdit* Edit;
  };

  void AddFormula(const char* label, int line, int& y);
  void AddText(const char* label, int line, int x, int y, int labelWidth, int width);
  QLabel* AddLabel(const char* text, const QRect& place);
  // The lines the form writes, or nothing when a field is wrong (it has said why).
  std::optional<std::vector<std::pair<int, std::string>>> ReadFields();
  bool CheckPriority(const std::string& text) const;
  std::optional<std::string> CheckPreferable(const std::string& text) const;

  TKind kind_;
  IMessages& messages_;
  TStatement* statement_ = nullptr;
  int type_ = 0;
  bool readOnly_ = false;
  bool sameFamily_ = true;
  std::vector<TFormulaField> formulas_;
  std::vector<TTextField> texts_;
  std::vector<TMyEdit*> edits_;
  std::vector<QLabel*> labels_;
  QComboBox* connective_ = nullptr;
  QCheckBox* negation_ = nullptr;
  QCheckBox* terminal_ = nullptr;
  QPushButton* ok_;
  QPushButton* cancel_;
  std::function<void(int)> openHelp_;
  std::function<std::vector<std::string>()> methodNames_;
};

// The type dialog and the form of the chosen type, as the statement window's
// "Свойства метода" opens them on its working copy.
class TMethodWindows {
 public:
  TMethodWindows(IMessages& messages, QWidget* parent);

  // True when a form wrote the statement's method data.
  bool Edit(TStatement& statement, bool readOnly);
  void SetHelp(const std::function<void(int)>& openHelp);
  void SetMethodNames(const std::function<std::vector<std::string>()>& names);

  TMethodTypeForm& TypeForm() { return *type_; }
  TMethodForm& SuperficialForm() { return *superficial_; }
  TMethodForm& DialogDeepForm() { return *dialogDeep_; }
  TMethodForm& AutomaticDeepForm() { return *automaticDeep_; }

 private:
  TMethodTypeForm* type_;
  TMethodForm* superficial_;
  TMethodForm* dialogDeep_;
  TMethodForm* automaticDeep_;
};

}  // namespace lemmix
