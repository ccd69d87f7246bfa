#include "gui/info_form.h"

#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "notation/items.h"
#include "notation/output.h"
#include "shell/context.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kMargin = 8;
constexpr int kButtonHeight = 27;

// A report as shown: its words in the plain font and its formulas, written
// in stored text, laid out in the formula font.
TLetters ReportLetters(const std::string& text) {
  const std::optional<TItemList> items = StringToItems(text, false);
  std::optional<TLetters> read = items ? ItemL_to_MyLetters(*items) : std::nullopt;
  if (!read) return PlainTextLetters(text, kBlack);
  while (!read->empty() && read->back().Code == ' ') read->pop_back();
  return *read;
}

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
  root_.Text = "Root";
  resize(760, 480);
}

TInfoForm::~TInfoForm() = default;

void TInfoForm::Add(const std::string& text, const TExpr* formula) {
  // Most reports quote their formula already; one that ends where it should
  // stand ("Выражение ") would say nothing without it.
  if (formula != nullptr && (text.ends_with(":") || text.ends_with(" "))) {
    const std::optional<std::string> written = TreeToText(*formula, false, false);
    if (written && text.find(*written) == std::string::npos) {
      Report(text + (text.ends_with(" ") ? "" : " ") + *written);
      return;
    }
  }
  Report(text);
}

void TInfoForm::Report(const std::string& text) {
  auto node = std::make_unique<TNode>();
  node->Text = text;
  node->Parent = current_;
  current_->Children.push_back(std::move(node));
  empty_ = false;
  if (progress_) progress_();
}

void TInfoForm::GoDown() {
  if (current_->Children.empty()) {
    Ctx().Messages.Error({"Ошибка 1 в GoDown (Info)"_cp, "Error 1 in GoDown (Info)"});
    return;
  }
  current_ = current_->Children.back().get();
}

void TInfoForm::GoUp(bool keep) {
  TNode* left = current_;
  if (left->Parent == nullptr) {
    Ctx().Messages.Error({"Ошибка 1 в GoUp (Info)"_cp, "Error 1 in GoUp (Info)"});
    return;
  }
  current_ = left->Parent;
  if (keep) return;
  std::erase_if(current_->Children, [left](const std::unique_ptr<TNode>& child) { return child.get() == left; });
  if (current_ == &root_ && root_.Children.empty()) empty_ = true;
}

void TInfoForm::Reset() {
  root_.Children.clear();
  current_ = &root_;
  empty_ = true;
}

int TInfoForm::Depth() const {
  int depth = 0;
  for (const TNode* node = current_; node->Parent != nullptr; node = node->Parent) ++depth;
  return depth;
}

void TInfoForm::Walk(const std::function<void(const TNode&, int)>& visit) const {
  const std::function<void(const TNode&, int)> below = [&](const TNode& node, int depth) {
    for (const std::unique_ptr<TNode>& child : node.Children) {
      visit(*child, depth);
      below(*child, depth + 1);
    }
  };
  below(root_, 0);
}

void TInfoForm::Dump(std::vector<std::string>& lines) const {
  Walk([&](const TNode& node, int depth) {
    std::string line;
    for (int i = 0; i < kIndent * depth; ++i) line += "\\Skip ";
    lines.push_back(line + node.Text);
  });
}

std::vector<TLetters> TInfoForm::Lines() const {
  std::vector<TLetters> lines;
  Walk([&](const TNode& node, int depth) {
    TLetters line = PlainTextLetters(std::string(static_cast<std::size_t>(kIndent * depth), ' '), kBlack);
    const TLetters said = ReportLetters(node.Text);
    line.insert(line.end(), said.begin(), said.end());
    lines.push_back(std::move(line));
  });
  return lines;
}

void TInfoForm::Fill() {
  edit_->Clear();
  for (const TLetters& line : Lines()) edit_->AddLetters(line);
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
