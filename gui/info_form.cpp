#include "gui/info_form.h"

#include <QKeyEvent>
#include <QPushButton>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kIndent = 3;  // blanks per level
constexpr int kMargin = 8;
constexpr int kButtonHeight = 27;

}  // namespace

TLetters PlainTextLetters(std::string_view text, std::uint32_t colour) {
  TLetters letters;
  for (const char c : text) {
    TLetter letter;
    letter.Code = static_cast<std::uint8_t>(c);
    letter.Colour = colour;
    letters.push_back(letter);
  }
  return letters;
}

TInfoForm::TInfoForm(QWidget* parent) : QDialog(parent) {
  setObjectName("InfoForm");
  setWindowTitle(ToQString("Выполнены следующие автоматические преобразования:"_cp));
  edit_ = new TMyEdit(this);
  edit_->FontSize = 10;
  edit_->ReadOnly = true;
  edit_->Outer = QRect(kMargin, kMargin, 600, 400);
  edit_->Attach(this, &edits_);
  edits_.push_back(edit_);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OkButton");
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  resize(760, 480);
}

TInfoForm::~TInfoForm() = default;

void TInfoForm::Add(const std::string& text, const TExpr*) {
  const int level = level_ ? level_() : 0;
  TLetters line = PlainTextLetters(std::string(static_cast<std::size_t>(kIndent * std::max(level, 0)), ' '), kBlack);
  // The reports quote their formulas in stored text, shown here in the
  // formula font; the formula passed along says nothing more.
  const std::optional<TItemList> items = StringToItems(text, false);
  std::optional<TLetters> read = items ? ItemL_to_MyLetters(*items) : std::nullopt;
  if (read) {
    while (!read->empty() && read->back().Code == ' ') read->pop_back();
  }
  const TLetters said = read ? *read : PlainTextLetters(text, kBlack);
  line.insert(line.end(), said.begin(), said.end());
  lines_.push_back(std::move(line));
  if (progress_) progress_();
}

void TInfoForm::Reset() { lines_.clear(); }

void TInfoForm::Fill() {
  edit_->Clear();
  for (const TLetters& line : lines_) edit_->AddLetters(line);
}

void TInfoForm::ShowReports() {
  Fill();
  exec();
}

void TInfoForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int buttonTop = height() - kMargin - kButtonHeight;
  edit_->SetOuter(QRect(kMargin, kMargin, width() - 2 * kMargin, buttonTop - 2 * kMargin));
  ok_->setGeometry((width() - 100) / 2, buttonTop, 100, kButtonHeight);
}

void TInfoForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(kHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
