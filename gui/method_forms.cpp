#include "gui/method_forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "book/method_lines.h"
#include "book/part.h"
#include "book/search.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/text.h"

namespace lemmix {

namespace {

constexpr int kFormulaMode = 2;  // reading an edit: a formula whose words are symbols
constexpr int kMargin = 10;
constexpr int kLabelWidth = 170;
constexpr int kFieldX = kMargin + kLabelWidth + 8;
constexpr int kFieldWidth = 560;
constexpr int kFormWidth = kFieldX + kFieldWidth + kMargin;
constexpr int kFormulaHeight = 44;
constexpr int kRowHeight = 26;
constexpr int kRowStep = 32;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 27;
constexpr const char* kConnectives[] = {"<=>", " =>", " <="};
constexpr const char* kTrue = "true";
constexpr const char* kFalse = "false";

enum class TFamily { Superficial, AutomaticDeep, DialogDeep, None };

std::optional<int> StoredType(const std::string& line) {
  const std::string_view text = Trim(line);
  if (text.size() != 1 || text[0] < '0' || text[0] > '3') return std::nullopt;
  return text[0] - '0';
}

TFamily Family(std::optional<int> type) {
  if (!type) return TFamily::None;
  switch (*type) {
    case 0:
    case 2: return TFamily::Superficial;
    case 1: return TFamily::AutomaticDeep;
    default: return TFamily::DialogDeep;
  }
}

// Lines that keep their meaning in every kind of method: a change of kind shows them again.
bool SharedLine(int line) {
  return line == kMethodVariablesField || line == kMethodInputField || line == kMethodOutputField ||
         line == kMethodRusCaptionField || line == kMethodEngCaptionField;
}

// The lines that differ in meaning between the kinds: a change of kind clears those the new form does not write.
constexpr int kKindLines[] = {kMethodConnectiveField, kMethodPresentField,  kMethodTestingField,
                              kMethodClassesField,    kMethodFalseTypesField, kMethodPreferableField,
                              kMethodPriorityField,   kMethodGroupField,    kMethodHelpField};

QPushButton* Button(const char* text, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setAutoDefault(false);
  return button;
}

// Places the three buttons at the right of the bottom row; answers the form's height.
int PlaceButtons(QWidget* form, int y, std::initializer_list<QPushButton*> buttons) {
  auto* line = new QFrame(form);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(kMargin, y, form->width() - 2 * kMargin, 2);
  y += 10;
  int x = form->width() - kMargin - static_cast<int>(buttons.size()) * (kButtonWidth + 8) + 8;
  for (QPushButton* button : buttons) {
    button->setGeometry(x, y, kButtonWidth, kButtonHeight);
    x += kButtonWidth + 8;
  }
  return y + kButtonHeight + kMargin;
}

// NegationEnabled and Terminal, the two words of the flags line.
std::pair<bool, bool> Flags(const std::string& line) {
  const std::string_view text = Trim(line);
  const std::size_t blank = text.find(' ');
  const std::string_view second = blank == std::string_view::npos ? std::string_view{} : Trim(text.substr(blank));
  return {text.substr(0, blank) == kTrue, second == kTrue};
}

// One line of an edit as stored text with a blank between any two items, as
// the book writes its formulas: the prover splits the method's lists at
// " , ", " \and " and " ; ". Nothing when the line is no formula (reported).
std::optional<std::string> SpacedLine(const TLetters& line) {
  const std::optional<TItemList> items = MyLetters_to_ItemL(line, true);
  if (!items || !ItemL_to_String(*items, true, false)) return std::nullopt;
  std::string text;
  for (const TExprPtr& item : *items) {
    const std::optional<std::string> word = OneItem_to_String(*item, true, false);
    if (!word) return std::nullopt;
    if (word->empty()) continue;
    if (!text.empty()) text += ' ';
    text += *word;
  }
  // Trailing "\skip" words are layout only.
  for (std::string_view trimmed = Trim(text); trimmed.ends_with("\\skip"); trimmed = Trim(text))
    text = std::string(trimmed.substr(0, trimmed.size() - 5));
  return std::string(Trim(text));
}

}  // namespace

std::optional<std::string> MethodFieldText(const TMyEdit& edit) {
  std::string text;
  for (const TLetters& line : edit.Text().Lines()) {
    const std::optional<std::string> part = SpacedLine(line);
    if (!part) return std::nullopt;
    if (part->empty()) continue;
    if (!text.empty()) text += ' ';
    text += *part;
  }
  return text;
}

std::vector<std::string> MethodNames(const TBook& book) {
  std::vector<std::string> names;
  for (const TStatement* statement : FindStatements(book, TBookWalk{}, kMethodKind, ""))
    names.push_back(statement->Lines[kEnglishNameLine]);
  return names;
}

TMethodTypeForm::TMethodTypeForm(QWidget* parent) : QDialog(parent) {
  setObjectName("MethodTypeForm");
  setWindowTitle("Method properties");
  const auto group = [this](const char* first, const char* second, QRadioButton*& a, QRadioButton*& b, int x) {
    auto* box = new QGroupBox(this);
    box->setGeometry(x, kMargin, 150, 76);
    auto* layout = new QVBoxLayout(box);
    a = new QRadioButton(QString::fromLatin1(first), box);
    b = new QRadioButton(QString::fromLatin1(second), box);
    layout->addWidget(a);
    layout->addWidget(b);
  };
  group("Dialog", "Automatic", dialog_, automatic_, kMargin);
  group("Superficial", "Deep", superficial_, deep_, kMargin + 160);
  dialog_->setObjectName("DialogRadio");
  automatic_->setObjectName("AutomaticRadio");
  superficial_->setObjectName("SuperficialRadio");
  deep_->setObjectName("DeepRadio");
  ok_ = Button("Ok", this);
  ok_->setObjectName("OkButton");
  cancel_ = Button("Cancel", this);
  cancel_->setObjectName("CancelButton");
  auto* help = Button("Help", this);
  resize(2 * kMargin + 310, 0);
  setFixedSize(width(), PlaceButtons(this, 98, {ok_, cancel_, help}));
  connect(ok_, &QPushButton::clicked, this, [this] { done(1); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(kHelpTopic);
  });
}

std::optional<int> TMethodTypeForm::Choose(const std::string& storedType, bool readOnly) {
  const int type = StoredType(storedType).value_or(0);
  (type == 1 || type == 2 ? automatic_ : dialog_)->setChecked(true);
  (type == 1 || type == 3 ? deep_ : superficial_)->setChecked(true);
  for (QRadioButton* radio : {dialog_, automatic_, superficial_, deep_}) radio->setEnabled(!readOnly);
  ok_->setFocus();
  if (exec() != 1) return std::nullopt;
  if (superficial_->isChecked()) return dialog_->isChecked() ? 0 : 2;
  return dialog_->isChecked() ? 3 : 1;
}

void TMethodTypeForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(kHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

TMethodForm::TMethodForm(TKind kind, IMessages& messages, QWidget* parent)
    : QDialog(parent), kind_(kind), messages_(messages) {
  resize(kFormWidth, 0);
  int y = kMargin;
  AddFormula("Identifiable variables", kMethodVariablesField, y);
  if (kind == TKind::Superficial) {
    setObjectName("SuperficialMethodForm");
    setWindowTitle("Superficial method");
    AddFormula("Input conditon", kMethodInputField, y);
    AddFormula("Output condition", kMethodOutputField, y);
    AddLabel("Connective", QRect(kMargin, y, kLabelWidth, kRowHeight));
    connective_ = new QComboBox(this);
    connective_->setObjectName("Connective");
    for (const char* connective : kConnectives) connective_->addItem(QString::fromLatin1(connective));
    connective_->setGeometry(kFieldX, y, 90, kRowHeight);
    y += kRowStep + 4;
    AddFormula("Present conditions", kMethodPresentField, y);
    AddFormula("Testing conditions", kMethodTestingField, y);
    AddFormula("Conditions on classes", kMethodClassesField, y);
    AddFormula("False conditions on types", kMethodFalseTypesField, y);
    y += 4;
    AddText("Preferable methods", kMethodPreferableField, kMargin, y, kLabelWidth, kFieldWidth);
    y += kRowStep;
    AddText("Priority", kMethodPriorityField, kMargin, y, kLabelWidth, 90);
    negation_ = new QCheckBox("NegationEnabled", this);
    negation_->setObjectName("NegationEnabled");
    negation_->setGeometry(kFieldX + 130, y, 160, kRowHeight);
    terminal_ = new QCheckBox("Terminal", this);
    terminal_->setGeometry(kFieldX + 300, y, 120, kRowHeight);
    y += kRowStep;
  } else {
    setObjectName(kind == TKind::DialogDeep ? "DialogDeepMethodForm" : "AutomaticDeepMethodForm");
    setWindowTitle(kind == TKind::DialogDeep ? "Dialog deep method" : "Automatic deep method");
    AddFormula("Input expression", kMethodInputField, y);
    AddFormula("Output expression", kMethodOutputField, y);
    if (kind == TKind::DialogDeep) {
      AddFormula("New variables", kMethodNewVariablesField, y);
      AddFormula("New conditions", kMethodNewConditionsField, y);
    }
    terminal_ = new QCheckBox("Terminal", this);
    terminal_->setGeometry(kFieldX, y, 120, kRowHeight);
    y += kRowStep;
  }
  terminal_->setObjectName("Terminal");
  if (kind != TKind::AutomaticDeep) {
    AddText("Russian caption", kMethodRusCaptionField, kMargin, y, kLabelWidth, kFieldWidth);
    y += kRowStep;
    AddText("English caption", kMethodEngCaptionField, kMargin, y, kLabelWidth, kFieldWidth);
    y += kRowStep;
  }
  if (kind == TKind::Superficial) {
    AddText("Group", kMethodGroupField, kMargin, y, kLabelWidth, 240);
    AddText("HelpInd", kMethodHelpField, kFieldX + 250, y, 70, 90);
    y += kRowStep;
  }
  ok_ = Button("Ok", this);
  ok_->setObjectName("OkButton");
  cancel_ = Button("Cancel", this);
  cancel_->setObjectName("CancelButton");
  auto* help = Button("Help", this);
  setFixedSize(kFormWidth, PlaceButtons(this, y + 4, {ok_, cancel_, help}));
  connect(ok_, &QPushButton::clicked, this, &TMethodForm::Confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(HelpTopic());
  });
}

QLabel* TMethodForm::AddLabel(const char* text, const QRect& place) {
  auto* label = new QLabel(QString::fromLatin1(text), this);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(place);
  labels_.push_back(label);
  return label;
}

void TMethodForm::AddFormula(const char* label, int line, int& y) {
  AddLabel(label, QRect(kMargin, y, kLabelWidth, kFormulaHeight));
  auto* edit = new TMyEdit(this);
  edit->Outer = QRect(kFieldX, y, kFieldWidth, kFormulaHeight);
  edits_.push_back(edit);
  // Attach keeps the list's address: every edit sees the whole list once it is complete.
  edit->Attach(this, &edits_);
  edit->Box()->setObjectName(QString::fromLatin1(label));
  edit->Box()->installEventFilter(this);
  formulas_.push_back({line, edit});
  y += kFormulaHeight + 6;
}

void TMethodForm::AddText(const char* label, int line, int x, int y, int labelWidth, int width) {
  QLabel* caption = AddLabel(label, QRect(x, y, labelWidth, kRowHeight));
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(label));
  edit->setGeometry(x + labelWidth + 8, y, width, kRowHeight);
  caption->setBuddy(edit);
  texts_.push_back({line, edit});
}

TMyEdit* TMethodForm::Formula(int line) const {
  for (const TFormulaField& field : formulas_)
    if (field.Line == line) return field.Edit;
  return nullptr;
}

QLineEdit* TMethodForm::TextField(int line) const {
  for (const TTextField& field : texts_)
    if (field.Line == line) return field.Edit;
  return nullptr;
}

QStringList TMethodForm::Labels() const {
  QStringList texts;
  for (const QLabel* label : labels_) texts << label->text();
  return texts;
}

int TMethodForm::HelpTopic() const {
  switch (kind_) {
    case TKind::Superficial: return 601;
    case TKind::DialogDeep: return 602;
    default: return 603;
  }
}

bool TMethodForm::Edit(TStatement& statement, int type, bool readOnly) {
  statement_ = &statement;
  type_ = type;
  readOnly_ = readOnly;
  std::vector<std::string>& lines = statement.Lines;
  if (lines.size() < kMethodLines) lines.resize(kMethodLines);
  sameFamily_ = Family(StoredType(lines[kMethodTypeField])) == Family(type);
  const auto shown = [&](int line) { return sameFamily_ || SharedLine(line) ? lines[line] : std::string(); };
  for (const TFormulaField& field : formulas_) {
    field.Edit->Clear();
    const std::string text = shown(field.Line);
    // A text that does not read as a formula is still shown, as plain text, to be corrected.
    if (!text.empty() && !field.Edit->AddText(text, 0)) field.Edit->AddText(text, 1);
    field.Edit->ReadOnly = readOnly;
  }
  for (const TTextField& field : texts_) {
    field.Edit->setText(ToQString(shown(field.Line)));
    field.Edit->setReadOnly(readOnly);
  }
  const auto [negation, terminal] = Flags(lines[kMethodFlagsField]);
  if (connective_) {
    const std::string connective = shown(kMethodConnectiveField);
    const std::string_view code = Trim(connective);
    connective_->setCurrentIndex(code == "1" ? 1 : code == "2" ? 2 : 0);
    connective_->setEnabled(!readOnly);
  }
  if (negation_) {
    negation_->setChecked(sameFamily_ && negation);
    negation_->setEnabled(!readOnly);
  }
  terminal_->setChecked(terminal);
  terminal_->setEnabled(!readOnly);
  ok_->setVisible(!readOnly);
  cancel_->setText(readOnly ? QStringLiteral("Close") : QStringLiteral("Cancel"));
  formulas_.front().Edit->Box()->setFocus();
  const bool written = exec() == 1 && !readOnly;
  statement_ = nullptr;
  return written;
}

bool TMethodForm::CheckPriority(const std::string& text) const {
  const std::string_view digits = Trim(text);
  // Nine digits at most: the number must fit the prover's integers.
  const bool natural = !digits.empty() && digits.size() <= 9 &&
                       std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                       digits.find_first_not_of('0') != std::string_view::npos;
  if (!natural)
    messages_.Error({"Приоритет метода должен быть натуральным числом."_cp,
                     "The priority must be a positive integer number."});
  return natural;
}

std::optional<std::string> TMethodForm::CheckPreferable(const std::string& text) const {
  const std::vector<std::string> known = methodNames_ ? methodNames_() : std::vector<std::string>{};
  std::string field;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    const std::string name(Trim(rest.substr(0, semicolon)));
    rest = semicolon == std::string_view::npos ? std::string_view{} : rest.substr(semicolon + 1);
    if (name.empty()) continue;
    const auto count = std::count(known.begin(), known.end(), name);
    if (count == 0) {
      messages_.Error({"Неверное название предпочтительного метода: "_cp + name,
                       "Wrong name of a preferable method: " + name});
      return std::nullopt;
    }
    if (count > 1) {
      messages_.Error({"Утверждение с именем "_cp + name + " встречается 2 раза."_cp,
                       "Statement name " + name + " is doubled."});
      return std::nullopt;
    }
    if (!field.empty()) field += " ; ";
    field += name;
  }
  return field;
}

std::optional<std::vector<std::pair<int, std::string>>> TMethodForm::ReadFields() {
  std::vector<std::pair<int, std::string>> lines;
  for (const TFormulaField& field : formulas_) {
    std::optional<std::string> text = MethodFieldText(*field.Edit);
    if (!text) {
      field.Edit->Box()->setFocus();
      return std::nullopt;
    }
    lines.emplace_back(field.Line, std::move(*text));
  }
  for (const TTextField& field : texts_) {
    std::string text(Trim(FromQString(field.Edit->text())));
    if (field.Line == kMethodPriorityField && !CheckPriority(text)) {
      field.Edit->setFocus();
      return std::nullopt;
    }
    if (field.Line == kMethodPreferableField) {
      std::optional<std::string> names = CheckPreferable(text);
      if (!names) {
        field.Edit->setFocus();
        return std::nullopt;
      }
      text = std::move(*names);
    }
    lines.emplace_back(field.Line, std::move(text));
  }
  if (connective_) lines.emplace_back(kMethodConnectiveField, std::to_string(connective_->currentIndex()));
  const bool negation = negation_ && negation_->isChecked();
  lines.emplace_back(kMethodFlagsField,
                     std::string(negation ? kTrue : kFalse) + " " + (terminal_->isChecked() ? kTrue : kFalse));
  lines.emplace_back(kMethodTypeField, std::to_string(type_));
  return lines;
}

bool TMethodForm::Confirm() {
  if (!statement_ || readOnly_) return false;
  const std::optional<std::vector<std::pair<int, std::string>>> lines = ReadFields();
  if (!lines) return false;
  std::vector<std::string>& target = statement_->Lines;
  if (!sameFamily_) {
    for (const int line : kKindLines) target[line].clear();
  }
  for (const auto& [line, text] : *lines) target[line] = text;
  done(1);
  return true;
}

bool TMethodForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Every field is one line: Enter goes on to the next field instead of breaking it.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TMethodForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(HelpTopic());
    return;
  }
  QDialog::keyPressEvent(event);
}

TMethodWindows::TMethodWindows(IMessages& messages, QWidget* parent)
    : type_(new TMethodTypeForm(parent)),
      superficial_(new TMethodForm(TMethodForm::TKind::Superficial, messages, parent)),
      dialogDeep_(new TMethodForm(TMethodForm::TKind::DialogDeep, messages, parent)),
      automaticDeep_(new TMethodForm(TMethodForm::TKind::AutomaticDeep, messages, parent)) {}

bool TMethodWindows::Edit(TStatement& statement, bool readOnly) {
  if (statement.Lines.size() < kMethodLines) statement.Lines.resize(kMethodLines);
  const std::optional<int> type = type_->Choose(statement.Lines[kMethodTypeField], readOnly);
  if (!type) return false;
  TMethodForm& form = *type == 1 ? *automaticDeep_ : *type == 3 ? *dialogDeep_ : *superficial_;
  return form.Edit(statement, *type, readOnly);
}

void TMethodWindows::SetHelp(const std::function<void(int)>& openHelp) {
  type_->SetHelp(openHelp);
  for (TMethodForm* form : {superficial_, dialogDeep_, automaticDeep_}) form->SetHelp(openHelp);
}

void TMethodWindows::SetMethodNames(const std::function<std::vector<std::string>()>& names) {
  for (TMethodForm* form : {superficial_, dialogDeep_, automaticDeep_}) form->SetMethodNames(names);
}

}  // namespace lemmix
