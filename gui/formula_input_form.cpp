#include "gui/formula_input_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kWidth = 640;
constexpr QRect kEditArea(6, 52, kWidth - 12, 120);

}  // namespace

TFormulaInputForm::TFormulaInputForm(const QString& caption, const std::string& defaultText, QWidget* parent)
    : QDialog(parent), edit_(new TMyEdit(this)) {
  setObjectName("FormulaInputForm");
  setWindowTitle(caption);
  caption_ = new QLabel(caption, this);
  caption_->setObjectName("Caption");
  caption_->setWordWrap(true);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  caption_->setGeometry(12, 8, kWidth - 24, 22);
  auto* hint = new QLabel(ToQString("Символы, которых нет на клавиатуре, — в палитре (правая кнопка мыши)."_cp), this);
  hint->setObjectName("Hint");
  hint->setGeometry(12, 30, kWidth - 24, 20);

  edit_->Outer = kEditArea;
  edits_ = {edit_};
  edit_->Attach(this, &edits_);
  edit_->Box()->setObjectName("FormulaEdit");
  if (!defaultText.empty() && !edit_->AddText(defaultText, 0)) edit_->AddText(defaultText, 1);
  // Typing goes on after the default text.
  edit_->HandleEditKey(vk::Next, 0);
  edit_->HandleEditKey(vk::End, 0);
  edit_->Refresh();

  ok_ = new QPushButton("OK", this);
  cancel_ = new QPushButton(ToQString("Отмена"_cp), this);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  ok_->setObjectName("OkButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  ok_->setDefault(true);
  const int buttonsTop = kEditArea.bottom() + 10;
  int x = kWidth - 3 * 96 - 8;
  for (QPushButton* button : {ok_, cancel_, help_}) {
    button->setGeometry(x, buttonsTop, 88, 27);
    if (button != ok_) button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    x += 96;
  }
  connect(ok_, &QPushButton::clicked, this, &TFormulaInputForm::Take);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TFormulaInputForm::OpenHelp);
  setFixedSize(kWidth, buttonsTop + 37);
  edit_->Box()->setFocus();
}

std::string TFormulaInputForm::Text() const {
  return GetString(edit_->Text().Lines(), 2, false).value_or(std::string());
}

void TFormulaInputForm::Take() {
  // Letters that make no formula are shown at their place and the input stays open.
  if (!GetString(edit_->Text().Lines(), 2, false)) {
    edit_->ReadTree(true);
    return;
  }
  accept();
}

void TFormulaInputForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

void TFormulaInputForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1: OpenHelp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: Take(); return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace lemmix
