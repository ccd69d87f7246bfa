#include "gui/message_forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/qtext.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

// Help topics of the message window by kind.
constexpr int kErrorHelpTopic = 15;
constexpr int kInfoHelpTopic = 16;

QLabel* NewTextLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(360);
  label->setMargin(8);
  return label;
}

}  // namespace

TMessageForm::TMessageForm(QWidget* parent) : QDialog(parent), text_(NewTextLabel(this)) {
  setObjectName("MessageForm");
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  help_->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(help_, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(kind_ == Kind::Error ? kErrorHelpTopic : kInfoHelpTopic);
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(help_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TMessageForm::ShowMessage(Kind kind, const QString& text) {
  kind_ = kind;
  setWindowTitle(ToQString(kind == Kind::Error ? "Ошибка"_cp : "Сообщение"_cp));
  text_->setText(text);
  help_->setVisible(static_cast<bool>(openHelp_));
  exec();
}

TQuestForm::TQuestForm(QWidget* parent)
    : QDialog(parent),
      question_(NewTextLabel(this)),
      yes_(new QPushButton("Yes", this)),
      no_(new QPushButton("No", this)) {
  setObjectName("QuestForm");
  setWindowTitle(ToQString("Вопрос"_cp));
  question_->setObjectName("Question");
  question_->setAlignment(Qt::AlignCenter);
  yes_->setDefault(true);
  connect(yes_, &QPushButton::clicked, this, [this] { done(1); });
  connect(no_, &QPushButton::clicked, this, [this] { done(0); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(yes_);
  buttons->addWidget(no_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TQuestForm::AskQuestion(const QString& question) {
  question_->setText(question);
  yes_->setFocus();
  return exec() == 1;
}

}  // namespace lemmix
