#include "gui/script_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <charconv>

#include "gui/letters.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kButtonHeight = 25;
constexpr int kButtonFontSize = 12;
constexpr int kSymbolWidth = 24, kSymbolStep = 28;
constexpr int kLetterWidth = 20, kLetterStep = 22, kKeyboardRowStep = 28;
constexpr int kRowLabelWidth = 110;
constexpr int kRowStep = 30;
constexpr std::string_view kLetterKeys = "qwertyuiopasdfghjklzxcvbnm";
constexpr int kRoleNode = Qt::UserRole;

struct Topic {
  const char* caption;
  std::vector<const char*> subtopics;
};

// The topics of the words, in the order their indexes in the catalogue count.
const std::vector<Topic>& Topics() {
  static const std::vector<Topic> topics = {
      {"Введение", {"Логические союзы", "Связка для множества, заданного условием", "Четные и нечетные числа"}},
      {"Предел последовательности и числовые множества",
       {"Верхняя и нижняя грани множеств", "Ограниченность множества и последовательности", "Супремум и инфимум",
        "Минимум и максимум", "Целая часть числа", "Предел и сходимость последовательности",
        "Монотонность последовательности", "Подпоследовательность и частичный предел",
        "Фундаментальность последовательности", "Открытые и замкнутые множества, компакты",
        "Равномощность, конечность и счетность множеств"}},
      {"Предел и непрерывность функции",
       {"Предел функции", "Монотонность функции", "Непрерывность функции в точке",
        "Непрерывность функции на множестве", "Обратимость функции", "Логарифм"}},
  };
  return topics;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QLabel* RowLabel(const QString& text, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(8, top + 4, kRowLabelWidth - 8, kButtonHeight - 4);
  return label;
}

// "T-S" as two indexes; nothing for another text.
std::optional<std::pair<int, int>> Placement(std::string_view text) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  int topic = 0, subtopic = 0;
  const auto a = std::from_chars(text.data(), text.data() + dash, topic);
  const auto b = std::from_chars(text.data() + dash + 1, text.data() + text.size(), subtopic);
  if (a.ec != std::errc{} || b.ec != std::errc{} || a.ptr != text.data() + dash || b.ptr != text.data() + text.size())
    return std::nullopt;
  return std::pair{topic, subtopic};
}

}  // namespace

TScriptButton::TScriptButton(int row, int key, TLetters letters, int help, QWidget* parent)
    : QPushButton(parent), row_(row), key_(key), letters_(std::move(letters)), help_(help) {
  if (letters_.empty()) {
    setEnabled(false);
  } else {
    setFont(LetterFont(letters_.front().Font, kButtonFontSize));
    setText(LetterText(letters_.front()));
    setToolTip(QString::fromStdString(LettersToUtf8(letters_)));
  }
  setAutoDefault(false);
  SetChosen(false);
}

void TScriptButton::SetChosen(bool chosen) {
  setStyleSheet(chosen ? QStringLiteral("color: rgb(255, 0, 0);") : QStringLiteral("color: black;"));
}

TScriptForm::TScriptForm(const TStFunc& functions, QWidget* parent) : QDialog(parent) {
  setObjectName("ScriptForm");
  setWindowTitle(ToQString("Математические символы, буквы и слова"_cp));
  insert_ = new QPushButton(ToQString("Вставить"_cp), this);
  insert_->setObjectName("InsertButton");
  pages_ = new QTabWidget(this);
  pages_->addTab(BuildSymbolsPage(functions), ToQString("Символы и буквы"_cp));
  BuildTopics(functions);
  pages_->addTab(BuildWordsPage(), ToQString("Математические слова"_cp));
  connect(pages_, &QTabWidget::currentChanged, this, &TScriptForm::ClearSelection);

  auto* cancel = new QPushButton(ToQString("Отмена"_cp), this);
  auto* help = new QPushButton(ToQString("Справка"_cp), this);
  for (QPushButton* button : {insert_, cancel, help}) button->setAutoDefault(false);
  cyrillic_ = new QCheckBox(ToQString("Русские буквы при наборе"_cp), this);
  cyrillic_->setObjectName("CyrillicMode");
  cyrillic_->setToolTip(ToQString("Клавиши букв набирают русские буквы, как в русской раскладке"_cp));
  connect(cyrillic_, &QCheckBox::toggled, this, [](bool on) { SetCyrillicMode(on); });
  connect(insert_, &QPushButton::clicked, this, [this] {
    if (selectedButton_) Finish(selectedButton_->Letters());
    else if (selectedNode_ >= 0) Finish(nodes_[selectedNode_].Letters);
  });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancelled); });
  connect(help, &QPushButton::clicked, this, [this] {
    if (openHelp_) openHelp_(HelpTopic());
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cyrillic_);
  buttons->addStretch();
  buttons->addWidget(insert_);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
}

QWidget* TScriptForm::BuildSymbolsPage(const TStFunc& functions) {
  auto* page = new QWidget;
  page->setObjectName("SymbolsPage");
  int top = 8;
  const QString rowNames[] = {ToQString("ОСНОВНОЙ"_cp), "SHIFT", "CTRL", "CTRL-SHIFT"};
  for (int row = 0; row < TStFunc::kRegisters; ++row, top += kRowStep) {
    RowLabel(rowNames[row], top, page);
    for (int key = 0; key < TStFunc::kKeys; ++key) {
      const TStFunc::HotKey hot = functions.HotKeyLookup(TStFunc::kKeyChars[key], row);
      auto* button = new TScriptButton(row, key, hot.Visual ? *hot.Visual : TLetters{},
                                       functions.HotKeyHelp(row, key), page);
      button->setGeometry(kRowLabelWidth + key * kSymbolStep, top, kSymbolWidth, kButtonHeight);
      connect(button, &QPushButton::clicked, this, [this, button] { ButtonClicked(button); });
      symbolButtons_.push_back(button);
    }
  }
  top += 12;
  for (int row = 0; row < 4; ++row, top += kRowStep) {
    RowLabel(rowNames[row], top, page);
    int left = kRowLabelWidth;
    for (int key = 0; key < static_cast<int>(kLetterKeys.size()); ++key) {
      const bool capital = row == 1 || row == 3;
      TLetter letter;
      letter.Code = static_cast<std::uint8_t>(capital ? kLetterKeys[key] - 'a' + 'A' : kLetterKeys[key]);
      letter.Font = row >= 2 ? kMathFont : kPlainFont;
      letter.Colour = 0;
      auto* button = new TScriptButton(row, key, TLetters{letter}, kLetterHelp, page);
      button->setGeometry(left, top, kLetterWidth, kButtonHeight);
      // The keyboard rows end after "p" and "l": a wider step there.
      left += key == 9 || key == 18 ? kKeyboardRowStep : kLetterStep;
      connect(button, &QPushButton::clicked, this, [this, button] { ButtonClicked(button); });
      letterButtons_.push_back(button);
    }
  }
  page->setMinimumSize(kRowLabelWidth + TStFunc::kKeys * kSymbolStep + 8, top + 8);
  return page;
}

void TScriptForm::AddWordNode(QString caption, int parent, TLetters letters, int help) {
  nodes_.push_back(WordNode{std::move(caption), parent, std::move(letters), help > 0 ? help : kDefaultHelp});
}

void TScriptForm::BuildTopics(const TStFunc& functions) {
  std::vector<std::vector<int>> subtopicNodes;
  for (const Topic& topic : Topics()) {
    const int topicNode = static_cast<int>(nodes_.size());
    AddWordNode(Utf8(topic.caption), -1, {}, kDefaultHelp);
    subtopicNodes.emplace_back();
    for (const char* subtopic : topic.subtopics) {
      subtopicNodes.back().push_back(static_cast<int>(nodes_.size()));
      AddWordNode(Utf8(subtopic), topicNode, {}, kDefaultHelp);
    }
  }
  // Words go under their subtopics in catalogue order; a subtopic's words
  // follow it in the hidden list, so the rebuilt tree keeps that order.
  std::vector<std::vector<std::pair<QString, std::pair<TLetters, int>>>> words(nodes_.size());
  for (const auto& f : functions.IntrList) {
    if (!f || f->Palette.empty()) continue;
    const std::optional<std::pair<int, int>> place = Placement(f->Palette);
    if (!place || place->first < 0 || place->first >= static_cast<int>(subtopicNodes.size()) || place->second < 0 ||
        place->second >= static_cast<int>(subtopicNodes[place->first].size()))
      continue;
    auto& list = words[subtopicNodes[place->first][place->second]];
    list.push_back({QString::fromStdString(LettersToUtf8(f->Visual)).trimmed(), {f->Visual, f->HelpIndex}});
    if (f->Antonym) {
      list.push_back({QString::fromStdString(LettersToUtf8(f->Antonym->Visual)).trimmed(),
                      {f->Antonym->Visual, f->HelpIndex}});
    }
  }
  std::vector<WordNode> ordered;
  std::vector<int> newIndex(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    newIndex[i] = static_cast<int>(ordered.size());
    WordNode node = nodes_[i];
    if (node.Parent >= 0) node.Parent = newIndex[node.Parent];
    ordered.push_back(node);
    for (auto& [caption, word] : words[i]) {
      ordered.push_back(WordNode{caption, newIndex[i], word.first, word.second > 0 ? word.second : kDefaultHelp});
    }
  }
  if (static_cast<int>(ordered.size()) > kMaxWordNodes) {
    // The words past the limit are left out; the catalogue needs mending.
    ordered.resize(kMaxWordNodes);
    if (HasContext()) Ctx().Messages.Error({"Too many math. words", "Too many math. words"});
  }
  nodes_ = std::move(ordered);
}

QWidget* TScriptForm::BuildWordsPage() {
  auto* page = new QWidget;
  page->setObjectName("WordsPage");
  search_ = new QLineEdit(page);
  search_->setObjectName("WordSearch");
  search_->setPlaceholderText(ToQString("Поиск слова"_cp));
  words_ = new QTreeWidget(page);
  words_->setObjectName("WordsTree");
  words_->header()->hide();
  QFont wordsFont = words_->font();
  wordsFont.setPointSize(kButtonFontSize);
  words_->setFont(wordsFont);
  connect(search_, &QLineEdit::textChanged, this, &TScriptForm::FillWords);
  connect(words_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { WordClicked(item); });
  connect(words_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    const int node = item->data(0, kRoleNode).toInt();
    if (!nodes_[node].Letters.empty()) Finish(nodes_[node].Letters);
  });
  auto* layout = new QVBoxLayout(page);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(new QLabel(ToQString("Найти:"_cp), page));
  searchRow->addWidget(search_);
  layout->addLayout(searchRow);
  layout->addWidget(words_);
  FillWords(QString());
  return page;
}

void TScriptForm::FillWords(const QString& filter) {
  words_->clear();
  selectedNode_ = -1;
  insert_->setEnabled(selectedButton_ != nullptr);
  std::vector<bool> kept(nodes_.size(), false);
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (!nodes_[i].Caption.contains(filter, Qt::CaseSensitive)) continue;
    for (int node = static_cast<int>(i); node >= 0 && !kept[node]; node = nodes_[node].Parent) kept[node] = true;
  }
  std::vector<QTreeWidgetItem*> items(nodes_.size(), nullptr);
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    if (!kept[i]) continue;
    const int parent = nodes_[i].Parent;
    auto* item = parent >= 0 ? new QTreeWidgetItem(items[parent]) : new QTreeWidgetItem(words_);
    item->setText(0, nodes_[i].Caption);
    item->setData(0, kRoleNode, static_cast<int>(i));
    items[i] = item;
  }
  words_->expandAll();
}

void TScriptForm::ButtonClicked(TScriptButton* button) {
  if (button == selectedButton_) {
    Finish(button->Letters());
    return;
  }
  if (selectedButton_) selectedButton_->SetChosen(false);
  selectedButton_ = button;
  button->SetChosen(true);
  insert_->setEnabled(true);
}

void TScriptForm::WordClicked(QTreeWidgetItem* item) {
  const int node = item->data(0, kRoleNode).toInt();
  if (node == selectedNode_ && !nodes_[node].Letters.empty()) {
    Finish(nodes_[node].Letters);
    return;
  }
  selectedNode_ = node;
  insert_->setEnabled(!nodes_[node].Letters.empty());
}

void TScriptForm::ClearSelection() {
  if (selectedButton_) selectedButton_->SetChosen(false);
  selectedButton_ = nullptr;
  selectedNode_ = -1;
  words_->clearSelection();
  insert_->setEnabled(false);
}

void TScriptForm::Finish(const TLetters& letters) {
  chosen_ = letters;
  done(kInserted);
}

int TScriptForm::HelpTopic() const {
  if (pages_->currentIndex() == 1) return selectedNode_ >= 0 ? nodes_[selectedNode_].Help : kDefaultHelp;
  if (!selectedButton_) return kDefaultHelp;
  const bool letter = std::find(letterButtons_.begin(), letterButtons_.end(), selectedButton_) != letterButtons_.end();
  return letter ? kLetterHelp : selectedButton_->Help();
}

std::optional<TLetters> TScriptForm::Choose() {
  chosen_.clear();
  cyrillic_->setChecked(CyrillicMode());
  if (exec() != kInserted || chosen_.empty()) return std::nullopt;
  return chosen_;
}

void TScriptForm::showEvent(QShowEvent* event) {
  ClearSelection();
  QDialog::showEvent(event);
}

void TScriptForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (openHelp_) openHelp_(HelpTopic());
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    done(kCancelled);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace lemmix
