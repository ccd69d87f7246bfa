#include "gui/show_form.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "book/defined_notion.h"
#include "gui/method_forms.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "intrinsics/st_func.h"
#include "types/type.h"

namespace lemmix {

namespace {

constexpr int kPlainMode = 0;    // reading an edit: plain text
constexpr int kFormulaMode = 2;  // reading an edit: a formula whose words are symbols
// Where the lines of a multi-line text meet in stored text.
constexpr std::string_view kLineMarker = "\\n ";

QLabel* Caption(const std::string& text, int x, int y, QWidget* parent) {
  auto* label = new QLabel(ToQString(text), parent);
  label->move(x, y);
  return label;
}

QPushButton* Button(const std::string& text, const QRect& place, QWidget* parent) {
  auto* button = new QPushButton(ToQString(text), parent);
  button->setGeometry(place);
  button->setAutoDefault(false);
  return button;
}

// A field already written as "\N(types)" whose types are all types of the function.
bool IsNotionField(const TIntr& f, std::string_view field) {
  const std::size_t open = field.find('(');
  const std::size_t close = field.rfind(')');
  if (open == std::string_view::npos || close != field.size() - 1 || field.substr(0, 1) != "\\") return false;
  std::string_view types = field.substr(open + 1, close - open - 1);
  while (!types.empty()) {
    const std::size_t comma = types.find(',');
    const std::string_view id = Trim(types.substr(0, comma));
    const bool known = std::any_of(f.ConcreteTypes.begin(), f.ConcreteTypes.end(),
                                   [id](const TConcreteType& c) { return c.Type && c.Type->Name == id; });
    if (!known) return false;
    types = comma == std::string_view::npos ? std::string_view{} : types.substr(comma + 1);
  }
  return true;
}

// A name is one line: line breaks a stored name may still carry become blanks.
std::string OneLine(std::string text) {
  for (std::size_t at = text.find(kLineMarker); at != std::string::npos; at = text.find(kLineMarker, at))
    text.replace(at, kLineMarker.size(), " ");
  return text;
}

}  // namespace

TDefineForm::TDefineForm(QWidget* parent) : QDialog(parent), edit_(new TMyEdit(this)) {
  setObjectName("DefineForm");
  edit_->Outer = QRect(8, 8, 520, 90);
  edits_ = {edit_};
  edit_->Attach(this, &edits_);
  auto* ok = Button("Ввод"_cp, QRect(200, 106, 100, 27), this);
  ok->setObjectName("DefineOk");
  cancel_ = Button("Отмена"_cp, QRect(310, 106, 100, 27), this);
  cancel_->setObjectName("DefineCancel");
  auto* help = Button("Справка"_cp, QRect(420, 106, 100, 27), this);
  connect(ok, &QPushButton::clicked, this, [this] { done(1); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (help_) help_();
  });
  setFixedSize(536, 142);
}

std::optional<std::string> TDefineForm::Edit(const QString& caption, const std::string& text, bool readOnly) {
  setWindowTitle(caption);
  readOnly_ = readOnly;
  edit_->ReadOnly = readOnly;
  cancel_->setEnabled(!readOnly);
  edit_->Clear();
  edit_->AddText(text, 0);
  edit_->Box()->setFocus();
  if (exec() != 1 || readOnly) return std::nullopt;
  return GetString(edit_->Text().Lines(), kFormulaMode, false);
}

void TDefineForm::keyPressEvent(QKeyEvent* event) {
  if (readOnly_) {
    done(1);
    return;
  }
  if (event->key() == Qt::Key_F1 && help_) {
    help_();
    return;
  }
  QDialog::keyPressEvent(event);
}

TShowForm::TShowForm(TContext& context, QWidget* parent)
    : QDialog(parent), context_(context), name_(new TMyEdit(this)), formula_(new TMyEdit(this)) {
  setObjectName("ShowForm");
  setWindowTitle(ToQString("Содержимое утверждения"_cp));
  Caption("НАЗВАНИЕ"_cp, 12, 8, this);
  name_->Outer = QRect(8, 24, 624, 58);
  Caption("ЛОГИЧЕСКАЯ ФОРМУЛИРОВКА"_cp, 12, 90, this);
  formula_->Outer = QRect(8, 106, 624, 200);
  edits_ = {name_, formula_};
  name_->Attach(this, &edits_);
  formula_->Attach(this, &edits_);
  name_->Box()->setObjectName("NameBevel");
  name_->Box()->installEventFilter(this);
  formula_->Box()->setObjectName("LogiBevel");

  Caption("ТИП"_cp, 12, 320, this);
  TypeCombo = new QComboBox(this);
  TypeCombo->setObjectName("TypeCombo");
  TypeCombo->setGeometry(50, 315, 170, 27);
  for (const std::string& kind : StatementKindsRus()) TypeCombo->addItem(ToQString(kind));
  DefoButton = Button("Что определяется"_cp, QRect(236, 315, 180, 27), this);
  DefoButton->setObjectName("DefoButton");
  ok_ = Button("Ввод"_cp, QRect(312, 360, 100, 27), this);
  ok_->setObjectName("OkButton");
  cancel_ = Button("Отмена"_cp, QRect(422, 360, 100, 27), this);
  cancel_->setObjectName("CancelButton");
  auto* help = Button("Справка"_cp, QRect(532, 360, 100, 27), this);
  define_ = new TDefineForm(this);
  define_->SetHelp([this] {
    if (openHelp_) openHelp_(kHelpTopic);
  });
  methods_ = std::make_unique<TMethodWindows>(context_.Messages, this);
  methods_->SetHelp([this](int topic) {
    if (openHelp_) openHelp_(topic);
  });

  connect(TypeCombo, &QComboBox::currentIndexChanged, this, &TShowForm::UpdateKindButton);
  connect(DefoButton, &QPushButton::clicked, this, &TShowForm::KindButtonClicked);
  connect(ok_, &QPushButton::clicked, this, &TShowForm::Confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(kHelpTopic);
  });
  setFixedSize(640, 398);
}

TShowForm::~TShowForm() = default;

void TShowForm::SetMethodNames(const std::function<std::vector<std::string>()>& names) {
  methods_->SetMethodNames(names);
}

int TShowForm::Show(const TStatement& statement, bool readOnly) {
  TStatement::Copy(copy_, statement, true);
  readOnly_ = readOnly;
  name_->Clear();
  formula_->Clear();
  const std::string& kind = copy_.Lines[kKindLine];
  const auto* found = std::find(kStatementKindWords.begin(), kStatementKindWords.end(), kind);
  if (found == kStatementKindWords.end()) {
    context_.Messages.Error({"Утверждение имеет неизвестный тип: "_cp + kind, "The statement has unknown type: " + kind});
    found = kStatementKindWords.begin() + kAnyStatementKind;
  }
  {
    const QSignalBlocker quiet(TypeCombo);  // showing is no change of kind
    TypeCombo->setCurrentIndex(static_cast<int>(found - kStatementKindWords.begin()));
  }
  name_->AddText(OneLine(copy_.Lines[kRussianNameLine]), 1);
  if (TypeCombo->currentIndex() != kMethodKind) formula_->AddText(copy_.Lines[kFormulationLine], 0);
  TypeCombo->setEnabled(!readOnly);
  name_->ReadOnly = readOnly;
  formula_->ReadOnly = readOnly;
  ok_->setVisible(!readOnly);
  cancel_->setText(readOnly ? QStringLiteral("OK") : ToQString("Отмена"_cp));
  UpdateKindButton();
  formula_->Box()->setFocus();
  return exec();
}

bool TShowForm::EditStatement(TStatement& statement) {
  if (statement.Deleted) return false;
  if (Show(statement, false) != 1) return false;
  TStatement::Copy(statement, copy_, true);
  statement.Changed = true;
  return true;
}

void TShowForm::ViewStatement(const TStatement& statement) { Show(statement, true); }

void TShowForm::UpdateKindButton() {
  const int kind = TypeCombo->currentIndex();
  DefoButton->setVisible(kind == kDefinitionKind || kind == kMethodKind);
  if (kind == kDefinitionKind) DefoButton->setText(ToQString("Что определяется"_cp));
  if (kind != kMethodKind) return;
  DefoButton->setText(ToQString("Свойства метода"_cp));
  if (const std::optional<std::string> name = Name()) NameMethod(*name);
}

std::optional<std::string> TShowForm::Name() const {
  std::string name;
  for (const TLetters& line : name_->Text().Lines()) {
    const std::optional<std::string> text = GetString({line}, kPlainMode, false);
    if (!text) return std::nullopt;
    if (text->empty()) continue;
    if (!name.empty()) name += ' ';
    name += *text;
  }
  return name;
}

void TShowForm::NameMethod(const std::string& name) {
  const std::string method = "Метод"_cp;
  if (name.starts_with(method)) copy_.Lines[kEnglishNameLine] = "Method" + name.substr(method.size());
}

void TShowForm::KindButtonClicked() {
  if (TypeCombo->currentIndex() == kDefinitionKind) {
    if (copy_.Lines.size() < kDefinitionLines) copy_.Lines.resize(kDefinitionLines);
    const std::string& field = copy_.Lines[kNotionLine];
    const std::string shown = field.substr(0, field.find('('));
    if (std::optional<std::string> notion = define_->Edit(ToQString("Определяемое понятие"_cp), shown, readOnly_))
      copy_.Lines[kNotionLine] = *notion;
    return;
  }
  if (copy_.Lines.size() < kMethodLines) copy_.Lines.resize(kMethodLines);
  methods_->Edit(copy_, readOnly_);
}

bool TShowForm::Confirm() {
  const int kind = TypeCombo->currentIndex();
  copy_.Lines.resize(StatementLineCount(kStatementKindWords[kind]));
  copy_.Lines[kKindLine] = std::string(kStatementKindWords[kind]);
  const std::optional<std::string> name = Name();
  if (!name) return false;
  copy_.Lines[kRussianNameLine] = *name;
  // The name may have been typed after the kind was chosen.
  if (kind == kMethodKind) NameMethod(*name);
  if (kind != kMethodKind) {
    const std::optional<std::string> formulation = GetString(formula_->Text().Lines(), kFormulaMode, false);
    if (!formulation) return false;
    copy_.Lines[kFormulationLine] = *formulation;
  }
  if (kind == kDefinitionKind) {
    const std::string notion(Trim(copy_.Lines[kNotionLine]));
    if (notion.empty()) {
      context_.Messages.Error({"Определяемое понятие не введено."_cp, "The defined notion is not determinated."});
      return false;
    }
    const TIntr* f = DefinedNotionFunction(notion);
    if (!f) {
      context_.Messages.Error({"Определяемое понятие не верно: "_cp + notion, "The defined notion is invalid: " + notion});
      return false;
    }
    if (!IsNotionField(*f, notion)) {
      const std::optional<std::string> field = DefinedNotionField(*f, notion);
      if (!field) return false;
      copy_.Lines[kNotionLine] = *field;
    }
  }
  // The object follows the kind: a statement that is no longer a method must
  // not keep one, a new method needs its own (the builder reports a failure).
  if (!copy_.BuildMethod()) return false;
  done(1);
  return true;
}

bool TShowForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == name_->Box() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // The name is one line: Enter goes on to the formulation instead of breaking it.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      formula_->Box()->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TShowForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(kHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
