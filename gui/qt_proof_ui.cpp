#include "gui/qt_proof_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>

#include "gui/apply_form.h"
#include "gui/assot_form.h"
#include "gui/choose_form.h"
#include "gui/formula_input_form.h"
#include "gui/induction_form.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "gui/required_object_form.h"
#include "gui/subst_form.h"
#include "gui/the_def_form.h"
#include "notation/items.h"
#include "proofrun/driver.h"
#include "shell/cp1251.h"
#include "shell/message.h"

namespace lemmix {

namespace {

QStringList ToQStrings(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << ToQString(item);
  return list;
}

// An edit's lines as stored formula text; nothing when they are no formula.
std::optional<std::string> StoredText(const TMyEdit& edit) { return GetString(edit.Text().Lines(), 2, false); }

// The index of the chosen item, or nothing when the list was cancelled.
std::optional<std::size_t> ChooseFrom(QWidget& window, const std::string& caption, const QStringList& items, int help,
                                      const std::function<void(int)>& openHelp) {
  TChooseForm form(ToQString(caption), items, &window);
  form.SetHelpTopic(help);
  if (openHelp) form.SetHelp(openHelp);
  if (form.exec() != QDialog::Accepted || form.Chosen() < 0 || form.Chosen() >= items.size()) return std::nullopt;
  return static_cast<std::size_t>(form.Chosen());
}

// The Russian caption of a list the driver names in English.
std::string RussianListCaption(std::string_view caption) {
  for (const int index : {11, 12})
    if (caption == DialogCaption(index, false)) return std::string(DialogCaption(index, true));
  if (caption == "Mark unstationaty variables") return "Отметьте нестационарные переменные"_cp;
  return std::string(caption);
}

// While a demonstrated dialog is open, any key pressed in it closes it, as a
// key press goes on with the demonstration in the proof window.
class TKeyGoesOn : public QObject {
 public:
  explicit TKeyGoesOn(QDialog& dialog) : dialog_(dialog) {
    dialog_.setProperty(TQtDemoDisplay::kShownProperty, true);
    qApp->installEventFilter(this);
  }
  ~TKeyGoesOn() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &dialog_) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta) return false;
    dialog_.done(QDialog::Accepted);
    return true;
  }

 private:
  QDialog& dialog_;
};

// Shows the filled-in dialog until the student has seen it; nothing in it can be cancelled.
void ShowFilled(QDialog& dialog, QPushButton* ok, std::initializer_list<QPushButton*> off) {
  for (QPushButton* button : off)
    if (button != nullptr) button->setEnabled(false);
  if (ok != nullptr) {
    ok->setEnabled(true);
    ok->setDefault(true);
    ok->setFocus();
  }
  const TKeyGoesOn keyGoesOn(dialog);
  dialog.exec();
}

// A formula edit's text as stored, shown read-only.
void Fill(TMyEdit& edit, std::string_view text) {
  edit.Clear();
  if (!edit.AddText(text, 0)) edit.AddText(text, 1);
  edit.ReadOnly = true;
  edit.Refresh();
}

}  // namespace

TQtProofUi::TQtProofUi(QWidget& window, const TBook& book, const TStatement& proved, IQuestions& questions)
    : window_(window), book_(book), proved_(proved), questions_(questions) {}

std::optional<std::string> TQtProofUi::Input(const std::string& caption, std::string_view defaultText) {
  TFormulaInputForm form(ToQString(caption), std::string(defaultText), &window_);
  if (openHelp_) form.SetHelp(openHelp_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Text();
}

std::optional<std::string> TQtProofUi::Formula(int caption, std::string_view suffix, std::string_view defaultText) {
  return Input(std::string(DialogCaption(caption, true)) + std::string(suffix), defaultText);
}

std::optional<TDefinitionAnswer> TQtProofUi::Definition() {
  TTheDefForm form(&window_);
  form.setWindowTitle(ToQString(std::string(DialogCaption(0, true))));
  if (openHelp_) form.SetHelp(openHelp_);
  if (form.Execute(false) != 1) return std::nullopt;
  TDefinitionAnswer answer;
  switch (form.Pages()->currentIndex()) {
    case 0: {
      const std::optional<std::string> text = StoredText(form.SimpleEdit());
      if (!text) return std::nullopt;
      answer.Lines = {*text};
      break;
    }
    case 1: {
      // The variable, then values and conditions in turn: each value becomes
      // an equality for the variable.
      answer.Kind = TDefinitionAnswer::Cases;
      const std::vector<TMyEdit*>& edits = form.CondEdits();
      const std::optional<std::string> variable = StoredText(*edits[0]);
      if (!variable) return std::nullopt;
      for (std::size_t i = 1; i < edits.size(); ++i) {
        const std::optional<std::string> text = StoredText(*edits[i]);
        if (!text) return std::nullopt;
        answer.Lines.push_back(i % 2 == 1 ? *variable + " = " + *text : *text);
      }
      break;
    }
    default: {
      answer.Kind = TDefinitionAnswer::Recursive;
      const std::optional<std::string> names = StoredText(form.RecurEdit());
      if (!names) return std::nullopt;
      answer.Lines = {*names};
      break;
    }
  }
  return answer;
}

std::optional<std::vector<std::string>> TQtProofUi::Element(int caption, std::string_view sequence) {
  const std::optional<std::string> text = Formula(caption, sequence, "");
  if (!text) return std::nullopt;
  return std::vector<std::string>{*text};
}

const TStatement* TQtProofUi::Statement() {
  TApplyForm form(book_, proved_, &window_);
  if (openHelp_) form.SetHelp(openHelp_);
  if (form.exec() != QDialog::Accepted) return nullptr;
  return form.Chosen();
}

std::optional<std::size_t> TQtProofUi::ChooseTransformation(const std::vector<TTransformChoice>& offered) {
  std::vector<TAssotForm::TRow> rows;
  for (const TTransformChoice& choice : offered)
    rows.push_back({choice.Shown.empty() ? choice.Name : choice.Shown, choice.HelpTopic});
  TAssotForm form(&window_);
  if (openHelp_) form.SetHelp(openHelp_);
  const int row = form.Choose(rows);
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<std::size_t> TQtProofUi::Choose(std::string_view caption, const std::vector<std::string>& items) {
  const int help = caption == DialogCaption(12, false)   ? TChooseForm::kInductionVariableHelp
                   : caption == DialogCaption(11, false) ? TChooseForm::kAddRelationHelp
                                                         : TChooseForm::kDefaultHelp;
  return ChooseFrom(window_, RussianListCaption(caption), ToQStrings(items), help, openHelp_);
}

std::optional<std::vector<bool>> TQtProofUi::Mark(std::string_view caption, const std::vector<std::string>& items) {
  TInductionForm form(ToQString(RussianListCaption(caption)), ToQStrings(items), &window_);
  if (openHelp_) form.SetHelp(openHelp_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Marks();
}

bool TQtProofUi::ProveFirst(const std::vector<std::string>& conditions) {
  std::string list;
  for (const std::string& condition : conditions) list += "\n" + condition;
  return questions_.Ask({"Сначала необходимо доказать условия:"_cp + list + "\n\nДОКАЗЫВАТЬ ?"_cp,
                         "The conditions have to be proved first:" + list + "\n\nProve them?"});
}

std::optional<bool> TQtProofUi::AddRequiredObject() {
  TRequiredObjectForm form(&window_);
  form.exec();
  return form.Answer();
}

std::optional<TSubstituteAnswer> TQtProofUi::Substitute(std::string_view variable,
                                                        const std::vector<std::string>& candidates) {
  TSubstForm form(std::string(variable), ToQStrings(candidates), &window_);
  if (openHelp_) form.SetHelp(openHelp_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Answer();
}

void TQtProofUi::SubproofDone(const std::string& rus, const std::string& /*eng*/) {
  if (subproofDone_) subproofDone_(rus);
}

// ---------------------------------------------------------------- TQtDemoDisplay

void TQtDemoDisplay::Formula(int caption, std::string_view suffix, std::string_view text) {
  TFormulaInputForm form(ToQString(std::string(DialogCaption(caption, true)) + std::string(suffix)), std::string(text),
                         &window_);
  form.Edit().ReadOnly = true;
  ShowFilled(form, form.OkButton(), {form.CancelButton()});
}

void TQtDemoDisplay::Definition(const TDefinitionAnswer& answer) {
  TTheDefForm form(&window_);
  form.setWindowTitle(ToQString(std::string(DialogCaption(0, true))));
  switch (answer.Kind) {
    case TDefinitionAnswer::Simple:
      form.Pages()->setCurrentIndex(0);
      if (!answer.Lines.empty()) Fill(form.SimpleEdit(), answer.Lines.front());
      break;
    case TDefinitionAnswer::Cases: {
      // The variable, then values (recorded as equalities with it) and conditions in turn.
      form.Pages()->setCurrentIndex(1);
      while (form.CondEdits().size() < answer.Lines.size() + 1) form.AddCase();
      const std::string& first = answer.Lines.front();
      const std::size_t equals = first.find('=');
      Fill(*form.CondEdits()[0], first.substr(0, equals));
      for (std::size_t i = 0; i < answer.Lines.size(); ++i) {
        const std::string& line = answer.Lines[i];
        Fill(*form.CondEdits()[i + 1], i % 2 == 0 ? line.substr(line.find('=') + 1) : line);
      }
      break;
    }
    case TDefinitionAnswer::Recursive:
      form.Pages()->setCurrentIndex(2);
      if (!answer.Lines.empty()) Fill(form.RecurEdit(), answer.Lines.front());
      break;
  }
  const TKeyGoesOn keyGoesOn(form);
  form.Execute(true);
}

void TQtDemoDisplay::Statement(const TStatement& statement) {
  TApplyForm form(book_, proved_, &window_);
  form.Select(statement);
  ShowFilled(form, form.ApplyButton(), {form.CancelButton()});
}

void TQtDemoDisplay::ChooseTransformation(const std::vector<TTransformChoice>& offered, std::size_t chosen) {
  std::vector<TAssotForm::TRow> rows;
  for (const TTransformChoice& choice : offered)
    rows.push_back({choice.Shown.empty() ? choice.Name : choice.Shown, choice.HelpTopic});
  TAssotForm form(&window_);
  const TKeyGoesOn keyGoesOn(form);
  form.Confirm(rows, static_cast<int>(chosen));
}

void TQtDemoDisplay::Choose(std::string_view caption, const std::vector<std::string>& items, std::size_t chosen) {
  TChooseForm form(ToQString(RussianListCaption(caption)), ToQStrings(items), &window_);
  form.Select(static_cast<int>(chosen));
  ShowFilled(form, form.OkButton(), {form.CancelButton()});
}

void TQtDemoDisplay::Mark(std::string_view caption, const std::vector<std::string>& items,
                          const std::vector<bool>& marks) {
  TInductionForm form(ToQString(RussianListCaption(caption)), ToQStrings(items), &window_);
  for (std::size_t i = 0; i < form.Boxes().size() && i < marks.size(); ++i) {
    form.Boxes()[i]->setChecked(marks[i]);
    form.Boxes()[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
    form.Boxes()[i]->setFocusPolicy(Qt::NoFocus);
  }
  ShowFilled(form, form.OkButton(), {form.CancelButton()});
}

void TQtDemoDisplay::AddRequiredObject(bool add) {
  TRequiredObjectForm form(&window_);
  QPushButton* chosen = add ? form.AddButton() : form.SubstituteButton();
  ShowFilled(form, chosen, {add ? form.SubstituteButton() : form.AddButton(), form.CancelButton()});
}

void TQtDemoDisplay::Substitute(std::string_view variable, const std::vector<std::string>& candidates,
                                const TSubstituteAnswer& answer) {
  TSubstForm form(std::string(variable), ToQStrings(candidates), &window_);
  QPushButton* ok = form.OkButton();
  if (const auto* index = std::get_if<std::size_t>(&answer)) form.Select(static_cast<int>(*index));
  if (const auto* text = std::get_if<std::string>(&answer)) {
    form.Select(-1);
    Fill(form.Edit(), *text);
  }
  if (std::holds_alternative<TRefuse>(answer)) {
    form.Select(-1);
    ok = form.RefuseButton();
  }
  ShowFilled(form, ok, {ok == form.RefuseButton() ? form.OkButton() : form.RefuseButton(), form.CancelButton()});
}

}  // namespace lemmix
