#include "gui/message_forms.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "shell/context.h"
#include "shell/files.h"
#include "shell/message.h"
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

TMessageForm::TMessageForm(QWidget* parent) : QDialog(parent), edit_(new TMyEdit(this)) {
  setObjectName("MessageForm");
  constexpr QRect kTextArea(8, 8, 738, 137);
  edit_->Outer = kTextArea;
  edit_->ReadOnly = true;
  edits_ = {edit_};
  edit_->Attach(this, &edits_);
  edit_->Box()->setObjectName("MessageText");

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OkButton");
  ok->setDefault(true);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  help_->setAutoDefault(false);
  help_->setFocusPolicy(Qt::NoFocus);
  connect(ok, &QPushButton::clicked, this, [this] { done(kClosed); });
  connect(help_, &QPushButton::clicked, this, &TMessageForm::OpenHelp);
  const int buttonsTop = kTextArea.bottom() + 10;
  ok->setGeometry(kTextArea.center().x() - 90, buttonsTop, 85, 27);
  help_->setGeometry(kTextArea.center().x() + 5, buttonsTop, 85, 27);
  setFixedSize(kTextArea.right() + 9, buttonsTop + 27 + 10);
}

TMessageForm::~TMessageForm() = default;

void TMessageForm::Fill(const std::string& text, int mode, const TLetters* letters) {
  edit_->Clear();
  edit_->AddText(text, mode);
  if (letters) edit_->AddLetters(*letters);
  const bool withHelp = static_cast<bool>(openHelp_);
  help_->setVisible(withHelp);
  auto* ok = findChild<QPushButton*>("OkButton");
  ok->move(withHelp ? help_->x() - ok->width() - 10 : (width() - ok->width()) / 2, ok->y());
  setWindowTitle(ToQString(helpKind_ == HelpKind::Error         ? "Ошибка"_cp
                           : helpKind_ == HelpKind::Formulation ? "Логическая формулировка"_cp
                                                                : "Сообщение"_cp));
  ok->setFocus();
  exec();
}

bool TMessageForm::LoggedInstead(const std::string& rus) {
  if (!HasContext() || !Ctx().StartupOk || !Ctx().ProveThrough) return false;
  // A log that cannot be written still must not stop the unattended run.
  AppendLogLine(Ctx().DemoLogPath, rus);
  return true;
}

void TMessageForm::ShowMessage(const std::string& rus, const std::string&, int mode) {
  helpKind_ = HelpKind::Message;
  Fill(rus, mode, nullptr);
}

void TMessageForm::ShowFormulation(const std::string& storedText) {
  helpKind_ = HelpKind::Formulation;
  Fill(storedText, 0, nullptr);
}

void TMessageForm::ShowError(const std::string& rus, const std::string&, int mode) {
  helpKind_ = HelpKind::Error;
  if (LoggedInstead(rus)) return;
  Fill(rus, mode, nullptr);
}

void TMessageForm::ShowErrorWithFormula(const std::string& rus, const std::string&, const TLetters& letters, int mode) {
  helpKind_ = HelpKind::Error;
  if (LoggedInstead(rus)) return;
  Fill(rus, mode, &letters);
}

void TMessageForm::OpenHelp() {
  if (openHelp_) openHelp_(helpKind_ == HelpKind::Error ? kErrorHelpTopic : kInfoHelpTopic);
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
  if (HasContext() && Ctx().DemoRunning) {
    done(1);
    return;
  }
  switch (event->key()) {
    case Qt::Key_F1: OpenHelp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: done(kClosed); return;
    default: QDialog::keyPressEvent(event);
  }
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
