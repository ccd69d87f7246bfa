// The statement window: a statement's name, kind and formulation, and by
// kind its defined notion or its method properties (gui/method_forms.h);
// editable or read-only. The one-formula dialog that edits the defined
// notion belongs to it.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "book/statement.h"

class QComboBox;
class QPushButton;

namespace lemmix {

class TContext;
class TMethodWindows;
class TMyEdit;

// One formula in an edit, confirmed with "Ok" (modal result 1).
class TDefineForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDefineForm(QWidget* parent = nullptr);
  // Shows the stored formula text; the edited text when confirmed in an editable dialog.
  std::optional<std::string> Edit(const QString& caption, const std::string& text, bool readOnly);
  void SetHelp(std::function<void()> help) { help_ = std::move(help); }
  TMyEdit& Formula() { return *edit_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TMyEdit* edit_;
  std::vector<TMyEdit*> edits_;
  QPushButton* cancel_;
  bool readOnly_ = false;
  std::function<void()> help_;
};

class TShowForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kHelpTopic = 13;

  TShowForm(TContext& context, QWidget* parent = nullptr);
  ~TShowForm() override;

  // Edits a copy of the statement; on "Ok" the copy goes back into it, marked changed.
  bool EditStatement(TStatement& statement);
  void ViewStatement(const TStatement& statement);
  void SetHelp(std::function<void(int)> openHelp) { openHelp_ = std::move(openHelp); }
  // The English names of the book's method statements, against which preferable methods are checked.
  void SetMethodNames(const std::function<std::vector<std::string>()>& names);

  const TStatement& WorkingCopy() const { return copy_; }
  TMyEdit& NameEdit() { return *name_; }
  TMyEdit& FormulaEdit() { return *formula_; }
  QComboBox* KindBox() const { return TypeCombo; }
  QPushButton* KindButton() const { return DefoButton; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  TDefineForm& DefineForm() { return *define_; }
  TMethodWindows& MethodWindows() { return *methods_; }
  // "Ok": the window closes only when every line could be written.
  bool Confirm();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int Show(const TStatement& statement, bool readOnly);
  void UpdateKindButton();
  // The name field's text as one line: its lines (a pasted text may bring
  // several) joined by blanks. Nothing when a letter is not plain text.
  std::optional<std::string> Name() const;
  // A method named "Метод ..." is "Method ..." in English.
  void NameMethod(const std::string& name);
  void KindButtonClicked();

  TContext& context_;
  TStatement copy_;
  bool readOnly_ = false;
  TMyEdit* name_;
  TMyEdit* formula_;
  std::vector<TMyEdit*> edits_;
  QComboBox* TypeCombo;
  QPushButton* DefoButton;
  QPushButton* ok_;
  QPushButton* cancel_;
  TDefineForm* define_;
  std::function<void(int)> openHelp_;
  std::unique_ptr<TMethodWindows> methods_;
};

}  // namespace lemmix
