#include "gui/required_object_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

TRequiredObjectForm::TRequiredObjectForm(QWidget* parent)
    : QDialog(parent),
      question_(new QLabel(ToQString("Вы определяете искомый объект."_cp), this)),
      add_(new QPushButton(ToQString("Добавить объект"_cp), this)),
      substitute_(new QPushButton(ToQString("Подставить значение"_cp), this)),
      cancel_(new QPushButton(ToQString("Отмена"_cp), this)) {
  setObjectName("RequiredObjectForm");
  setWindowTitle(ToQString("Искомый объект"_cp));
  question_->setObjectName("Question");
  QFont bold = question_->font();
  bold.setBold(true);
  question_->setFont(bold);
  // What each answer does, for a student who meets the question the first time.
  auto* hint = new QLabel(
      ToQString("«Добавить объект» — объект станет данным, а его определение — данным условием.\n"
                "«Подставить значение» — значение объекта будет подставлено вместо него "
                "в доказываемые условия."_cp),
      this);
  hint->setObjectName("Hint");
  hint->setWordWrap(true);
  hint->setFixedWidth(420);
  add_->setObjectName("AddButton");
  substitute_->setObjectName("SubstituteButton");
  cancel_->setObjectName("CancelButton");
  add_->setDefault(true);
  substitute_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  connect(add_, &QPushButton::clicked, this, [this] { done(kAdd); });
  connect(substitute_, &QPushButton::clicked, this, [this] { done(kSubstitute); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(add_);
  buttons->addWidget(substitute_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->setSpacing(10);
  layout->addWidget(question_);
  layout->addWidget(hint);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  add_->setFocus();
}

std::optional<bool> TRequiredObjectForm::Answer() const {
  if (result() == kAdd) return true;
  if (result() == kSubstitute) return false;
  return std::nullopt;
}

}  // namespace lemmix
