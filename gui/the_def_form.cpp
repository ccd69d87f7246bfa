#include "gui/the_def_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kEditHeight = 44;
constexpr int kRowGap = 5;
constexpr int kVariableWidth = 100;
constexpr int kValueWidth = 200;
constexpr int kConditionWidth = 240;
constexpr int kLabelWidth = 62;
constexpr int kHelpTopics[] = {216, 217, 218};

QPushButton* Button(const std::string& text, QWidget* parent) {
  auto* button = new QPushButton(ToQString(text), parent);
  button->setAutoDefault(false);
  return button;
}

TMyEdit* PageEdit(QWidget* page, const QRect& outer) {
  auto* edit = new TMyEdit(page);
  edit->Outer = outer;
  return edit;
}

}  // namespace

TTheDefForm::TTheDefForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TheDefForm");
  setWindowTitle("Define variable");
  Pages_ = new QTabWidget(this);
  Pages_->setObjectName("Pages");
  Pages_->setGeometry(8, 8, 760, 300);

  auto* simplePage = new QWidget;
  simplePage->setObjectName("SimplePage");
  simple_ = PageEdit(simplePage, QRect(4, 8, 740, 110));
  simple_->Attach(simplePage, &allEdits_);
  allEdits_.push_back(simple_);

  auto* condPage = new QWidget;
  condPage->setObjectName("CondPage");
  condScroll_ = new QScrollArea(condPage);
  condScroll_->setGeometry(0, 0, 754, 266);
  condBox_ = new QWidget;
  condScroll_->setWidget(condBox_);
  brace_ = new QLabel("{", condBox_);
  brace_->setAlignment(Qt::AlignCenter);

  auto* recurPage = new QWidget;
  recurPage->setObjectName("RecurPage");
  auto* recurLabel = new QLabel(
      ToQString("Введите имя(имена) последовательности(ей) без индексов и без фигурных скобок"_cp), recurPage);
  recurLabel->move(8, 8);
  recur_ = PageEdit(recurPage, QRect(4, 30, 740, 100));
  recur_->Attach(recurPage, &allEdits_);
  allEdits_.push_back(recur_);

  Pages_->addTab(simplePage, ToQString("Без условий"_cp));
  Pages_->addTab(condPage, ToQString("С условиями"_cp));
  Pages_->addTab(recurPage, ToQString("Рекурсивно"_cp));

  auto* ok = Button("Ввод"_cp, this);
  cancel_ = Button("Отмена"_cp, this);
  auto* help = Button("Справка"_cp, this);
  AddButton_ = Button("Добавить условие"_cp, this);
  AddButton_->setObjectName("AddButton");
  DelButton_ = Button("Удалить последнее"_cp, this);
  DelButton_->setObjectName("DelButton");
  DelAllButton_ = Button("Удалить все"_cp, this);
  DelAllButton_->setObjectName("DelAllButton");
  int x = 8;
  for (QPushButton* button : {AddButton_, DelButton_, DelAllButton_}) {
    button->setGeometry(x, 316, 136, 27);
    x += 142;
  }
  x = 440;
  for (QPushButton* button : {ok, cancel_, help}) {
    button->setGeometry(x, 316, 100, 27);
    x += 108;
  }
  connect(ok, &QPushButton::clicked, this, [this] { done(1); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(HelpTopic());
  });
  connect(AddButton_, &QPushButton::clicked, this, &TTheDefForm::AddCase);
  connect(DelButton_, &QPushButton::clicked, this, &TTheDefForm::DeleteLast);
  connect(DelAllButton_, &QPushButton::clicked, this, &TTheDefForm::DeleteAll);
  connect(Pages_, &QTabWidget::currentChanged, this, &TTheDefForm::PageChanged);

  condEdits_ = {NewCondEdit(), NewCondEdit()};
  auto* equals = new QLabel("=", condBox_);
  condLabels_ = {equals};
  setFixedSize(776, 352);
  UpdateDeleteButtons();
  PageChanged();
}

TMyEdit* TTheDefForm::NewCondEdit() {
  auto* edit = new TMyEdit(condBox_);
  edit->Outer = QRect(0, 0, kConditionWidth, kEditHeight);  // placed by the layout
  edit->ReadOnly = readOnly_;
  edit->Attach(condBox_, &allEdits_);
  allEdits_.push_back(edit);
  return edit;
}

std::vector<QString> TTheDefForm::CondLabels() const {
  std::vector<QString> texts;
  for (const QLabel* label : condLabels_) texts.push_back(label->text());
  return texts;
}

void TTheDefForm::AddCase() {
  // A label follows the edit that was last until now: ", если" after a value, ", иначе" after a condition.
  const bool afterValue = condEdits_.size() % 2 == 0;
  condLabels_.push_back(new QLabel(ToQString(afterValue ? ", если"_cp : ", иначе"_cp), condBox_));
  condEdits_.push_back(NewCondEdit());
  AddButton_->setText(ToQString(afterValue ? "Добавить значение"_cp : "Добавить условие"_cp));
  UpdateDeleteButtons();
  LayOutConditions();
}

void TTheDefForm::DeleteLast() {
  if (condEdits_.size() <= 2) return;
  TMyEdit* last = condEdits_.back();
  condEdits_.pop_back();
  std::erase(allEdits_, last);
  last->SetVisible(false);
  last->deleteLater();
  condLabels_.back()->deleteLater();
  condLabels_.back()->hide();
  condLabels_.pop_back();
  AddButton_->setText(ToQString(condEdits_.size() % 2 == 0 ? "Добавить условие"_cp : "Добавить значение"_cp));
  UpdateDeleteButtons();
  LayOutConditions();
  condScroll_->ensureWidgetVisible(condEdits_.back()->Panel());
}

void TTheDefForm::DeleteAll() {
  while (condEdits_.size() > 2) DeleteLast();
  condEdits_[0]->Clear();
  condEdits_[1]->Clear();
  AddButton_->setEnabled(!readOnly_);
  AddButton_->setText(ToQString("Добавить условие"_cp));
  condScroll_->ensureVisible(0, 0);
}

void TTheDefForm::UpdateDeleteButtons() {
  const bool deletable = !readOnly_ && condEdits_.size() > 2;
  DelButton_->setEnabled(deletable);
  DelAllButton_->setEnabled(deletable);
}

void TTheDefForm::LayOutConditions() {
  // Values in the first column, each with its label and condition in the
  // second; the variable and "=" centred on the column of values.
  const int values = static_cast<int>(condEdits_.size()) / 2;
  const int rows = std::max(values, 1);
  const int height = rows * kEditHeight + (rows - 1) * kRowGap;
  const int valueX = kVariableWidth + 24 + (condEdits_.size() >= 4 ? 16 : 0);
  const auto place = [](TMyEdit* edit, const QRect& outer) { edit->SetOuter(outer); };
  place(condEdits_[0], QRect(0, (height - kEditHeight) / 2, kVariableWidth, kEditHeight));
  condLabels_[0]->setGeometry(kVariableWidth + 4, (height - 20) / 2, 16, 20);
  for (std::size_t i = 1; i < condEdits_.size(); ++i) {
    const int row = static_cast<int>(i - 1) / 2;
    const bool value = i % 2 == 1;
    const int y = row * (kEditHeight + kRowGap);
    const int x = value ? valueX : valueX + kValueWidth + kLabelWidth;
    place(condEdits_[i], QRect(x, y, value ? kValueWidth : kConditionWidth, kEditHeight));
    if (i < condLabels_.size()) {
      const int labelX = value ? valueX + kValueWidth : x + kConditionWidth;
      condLabels_[i]->setGeometry(labelX + 2, y + (kEditHeight - 20) / 2, kLabelWidth - 4, 20);
    }
  }
  brace_->setVisible(condEdits_.size() >= 4);
  brace_->setGeometry(valueX - 18, 0, 16, height);
  QFont braceFont = brace_->font();
  braceFont.setPointSize(std::max(12, height * 3 / 4));
  brace_->setFont(braceFont);
  condBox_->resize(valueX + kValueWidth + kLabelWidth + kConditionWidth + kLabelWidth, height + 4);
  for (QLabel* label : condLabels_) label->show();
}

void TTheDefForm::PageChanged() {
  if (readOnly_ && Pages_->currentIndex() != shownPage_) {
    Pages_->setCurrentIndex(shownPage_);  // a definition being shown keeps its page
    return;
  }
  const bool conditions = Pages_->currentIndex() == 1;
  for (QPushButton* button : {AddButton_, DelButton_, DelAllButton_}) button->setVisible(conditions);
  if (conditions) LayOutConditions();
  TMyEdit* first = Pages_->currentIndex() == 0 ? simple_ : conditions ? condEdits_[0] : recur_;
  if (first->Box()) first->Box()->setFocus();
}

int TTheDefForm::HelpTopic() const { return kHelpTopics[std::clamp(Pages_->currentIndex(), 0, 2)]; }

int TTheDefForm::Execute(bool readOnly) {
  readOnly_ = readOnly;
  shownPage_ = Pages_->currentIndex();
  AddButton_->setEnabled(!readOnly);
  cancel_->setEnabled(!readOnly);
  for (TMyEdit* edit : allEdits_) edit->ReadOnly = readOnly;
  UpdateDeleteButtons();
  PageChanged();
  return exec();
}

void TTheDefForm::keyPressEvent(QKeyEvent* event) {
  if (readOnly_) {
    done(1);
    return;
  }
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(HelpTopic());
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
