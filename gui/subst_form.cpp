#include "gui/subst_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "gui/choose_form.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kWidth = 600;
constexpr int kMargin = 12;
constexpr int kLabelHeight = 20;
constexpr int kMinListHeight = 60;
constexpr int kMaxListHeight = 200;
constexpr int kEditHeight = 90;

// A variable's name as the formula views show it (a Greek letter as itself).
QString ShownName(const std::string& stored) {
  const std::optional<TItemList> items = StringToItems(stored, false);
  const std::optional<TLetters> letters = items ? ItemL_to_MyLetters(*items) : std::nullopt;
  return letters ? QString::fromStdString(LettersToUtf8(*letters)).trimmed() : ToQString(stored);
}

QLabel* NewLabel(const QString& text, const char* name, QWidget* parent, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(kMargin, top, kWidth - 2 * kMargin, kLabelHeight);
  return label;
}

}  // namespace

TSubstForm::TSubstForm(const std::string& variable, const QStringList& candidates, QWidget* parent)
    : QDialog(parent), edit_(new TMyEdit(this)) {
  setObjectName("SubstForm");
  const QString title = ToQString("Подставить выражение вместо переменной квантора "_cp) + ShownName(variable);
  setWindowTitle(title);
  caption_ = NewLabel(title, "Caption", this, 8);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);

  // The candidates, when there are any, come first; else only the input is offered.
  int top = 8 + kLabelHeight + 8;
  const bool offered = !candidates.isEmpty();
  if (offered) {
    NewLabel(ToQString("Выберите переменную"_cp), "SelectLabel", this, top);
    top += kLabelHeight;
  }
  list_ = new TFormulaList(this, candidates, QRect(6, top, kWidth - 12, kMaxListHeight), kMinListHeight);
  list_->Edit().SetVisible(offered);
  if (offered) {
    top += list_->Outer().height() + 2;
    NewLabel(ToQString("или"_cp), "OrLabel", this, top);
    top += kLabelHeight;
  }
  NewLabel(ToQString(offered ? "введите выражение"_cp : "Введите выражение"_cp), "InputLabel", this, top);
  top += kLabelHeight;
  NewLabel(ToQString("Символы, которых нет на клавиатуре, — в палитре (правая кнопка мыши)."_cp), "Hint", this, top);
  top += kLabelHeight;

  edit_->Outer = QRect(6, top, kWidth - 12, kEditHeight);
  edits_ = {edit_};
  edit_->Attach(this, &edits_);
  edit_->Box()->setObjectName("FormulaEdit");
  edit_->Box()->installEventFilter(this);
  top += kEditHeight + 10;

  ok_ = new QPushButton("OK", this);
  refuse_ = new QPushButton(ToQString("Не подставлять"_cp), this);
  cancel_ = new QPushButton(ToQString("Отмена"_cp), this);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  ok_->setObjectName("OkButton");
  refuse_->setObjectName("RefuseButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  int x = kWidth - 8;
  for (QPushButton* button : {help_, cancel_, refuse_, ok_}) {
    const int width = button == refuse_ ? 128 : 88;
    x -= width;
    button->setGeometry(x, top, width, 27);
    if (button != ok_) button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    x -= 8;
  }
  connect(list_, &TFormulaList::Picked, this, &TSubstForm::Select);
  connect(list_, &TFormulaList::Activated, this, &TSubstForm::Take);
  connect(ok_, &QPushButton::clicked, this, &TSubstForm::Take);
  connect(refuse_, &QPushButton::clicked, this, &TSubstForm::Refuse);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TSubstForm::OpenHelp);
  setFixedSize(kWidth, top + 37);
  // The first candidate is offered: OK takes it, typing replaces it.
  list_->Select(0);
  edit_->Box()->setFocus();
}

TMyEdit& TSubstForm::List() const { return list_->Edit(); }

int TSubstForm::Selected() const { return list_->Selected(); }

void TSubstForm::Select(int item) {
  list_->Select(item);
  if (list_->Selected() >= 0 && !EditBlank()) edit_->Clear();
}

bool TSubstForm::EditBlank() const {
  for (const TLetters& line : edit_->Text().Lines())
    for (const TLetter& letter : line)
      if (letter.Code != ' ') return false;
  return true;
}

void TSubstForm::Typed() {
  if (!EditBlank()) list_->Select(-1);
}

void TSubstForm::Take() {
  if (list_->Selected() >= 0) {
    answer_ = TSubstituteAnswer{static_cast<std::size_t>(list_->Selected())};
    accept();
    return;
  }
  // Nothing chosen nor typed: the input waits for an expression.
  if (EditBlank()) {
    edit_->Box()->setFocus();
    return;
  }
  const std::optional<std::string> text = GetString(edit_->Text().Lines(), 2, false);
  // Letters that make no formula are shown at their place and the dialog stays open.
  if (!text) {
    edit_->ReadTree(true);
    return;
  }
  answer_ = TSubstituteAnswer{*text};
  accept();
}

void TSubstForm::Refuse() {
  answer_ = TSubstituteAnswer{TRefuse{}};
  accept();
}

void TSubstForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

bool TSubstForm::eventFilter(QObject* watched, QEvent* event) {
  // What a key or the palette typed is in the edit once the event is done.
  if (watched == edit_->Box() && (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress))
    QMetaObject::invokeMethod(this, &TSubstForm::Typed, Qt::QueuedConnection);
  return QDialog::eventFilter(watched, event);
}

void TSubstForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1: OpenHelp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: Take(); return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace lemmix
