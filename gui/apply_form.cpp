#include "gui/apply_form.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "book/search.h"
#include "book/statement_kind.h"
#include "gui/my_edit.h"
#include "gui/qtext.h"
#include "shell/context.h"
#include "shell/cp1251.h"

namespace lemmix {

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kApplicableRole = Qt::UserRole + 1;
constexpr int kWidth = 860;
constexpr int kTreeWidth = 430;
constexpr int kTop = 40;
constexpr int kBodyHeight = 430;

// A statement can be applied when it has a formulation to add: a method has none.
bool Applicable(const TStatement& statement) {
  return statement.Kind() != kStatementKindWords[kMethodKind] && statement.Lines.size() > kFormulationLine &&
         !statement.Lines[kFormulationLine].empty();
}

void VisitItems(QTreeWidgetItem* item, const std::function<void(QTreeWidgetItem*)>& visit) {
  visit(item);
  for (int i = 0; i < item->childCount(); ++i) VisitItems(item->child(i), visit);
}

}  // namespace

TApplyForm::TApplyForm(const TBook& book, const TStatement& proved, QWidget* parent) : QDialog(parent) {
  setObjectName("ApplyForm");
  setWindowTitle(ToQString("Применить утверждение"_cp));

  auto* searchLabel = new QLabel(ToQString("Поиск:"_cp), this);
  searchLabel->setGeometry(10, 10, 50, 22);
  search_ = new QLineEdit(this);
  search_->setObjectName("SearchEdit");
  search_->setPlaceholderText(ToQString("часть названия утверждения"_cp));
  search_->setClearButtonEnabled(true);
  search_->setGeometry(62, 8, kTreeWidth - 54, 24);
  found_ = new QLabel(this);
  found_->setObjectName("SearchResult");
  found_->setGeometry(kTreeWidth + 18, 10, kWidth - kTreeWidth - 26, 22);

  tree_ = new QTreeWidget(this);
  tree_->setObjectName("Tree");
  tree_->setHeaderHidden(true);
  tree_->setGeometry(8, kTop, kTreeWidth, kBodyHeight);

  title_ = new QLabel(this);
  title_->setObjectName("StatementTitle");
  title_->setWordWrap(true);
  title_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  title_->setGeometry(kTreeWidth + 18, kTop, kWidth - kTreeWidth - 26, 40);
  formulation_ = new TMyEdit(this);
  formulation_->ReadOnly = true;
  formulation_->Outer = QRect(kTreeWidth + 12, kTop + 42, kWidth - kTreeWidth - 18, kBodyHeight - 42);
  edits_ = {formulation_};
  formulation_->Attach(this, &edits_);
  formulation_->Box()->setObjectName("Formulation");
  formulation_->Box()->setFocusPolicy(Qt::NoFocus);

  apply_ = new QPushButton(ToQString("Применить"_cp), this);
  cancel_ = new QPushButton(ToQString("Отмена"_cp), this);
  help_ = new QPushButton(ToQString("Справка"_cp), this);
  apply_->setObjectName("ApplyButton");
  cancel_->setObjectName("CancelButton");
  help_->setObjectName("HelpButton");
  apply_->setDefault(true);
  const int buttonsTop = kTop + kBodyHeight + 10;
  int x = kWidth - 3 * 106 - 8;
  for (QPushButton* button : {apply_, cancel_, help_}) {
    button->setGeometry(x, buttonsTop, 98, 27);
    if (button != apply_) button->setAutoDefault(false);
    x += 106;
  }
  setFixedSize(kWidth, buttonsTop + 37);

  connect(apply_, &QPushButton::clicked, this, &TApplyForm::Take);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TApplyForm::OpenHelp);
  connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) { Search(text); });
  connect(tree_, &QTreeWidget::currentItemChanged, this, &TApplyForm::CurrentChanged);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (item->data(0, kApplicableRole).toBool()) Take();
  });

  Fill(book, proved);
  CurrentChanged();
  search_->setFocus();
}

void TApplyForm::Fill(const TBook& book, const TStatement& proved) {
  // The walk stops at the proved statement: nothing after it is offered.
  TBookWalk walk;
  walk.UserMode = HasContext() && !Ctx().DeveloperMode;
  walk.Limit = &proved;
  std::vector<QTreeWidgetItem*> open;
  WalkBook(book, walk, [&](TPathName& node, int depth) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(node.Title()));
    item->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(&node)));
    const bool applicable = node.IsStatement() && Applicable(static_cast<const TStatement&>(node));
    item->setData(0, kApplicableRole, applicable);
    if (node.IsStatement() && !applicable) item->setForeground(0, QBrush(Qt::gray));
    open.resize(static_cast<std::size_t>(depth - 1));
    if (open.empty())
      tree_->addTopLevelItem(item);
    else
      open.back()->addChild(item);
    open.push_back(item);
    if (applicable) nearest_ = item;
    return true;
  });
  // The statements just before the proved one are the likeliest to be applied.
  if (nearest_) {
    for (QTreeWidgetItem* up = nearest_->parent(); up; up = up->parent()) up->setExpanded(true);
    tree_->scrollToItem(nearest_);
  }
}

const TStatement* TApplyForm::StatementOf(const QTreeWidgetItem* item) {
  if (!item || !item->data(0, kApplicableRole).toBool()) return nullptr;
  return static_cast<const TStatement*>(static_cast<TPathName*>(item->data(0, kNodeRole).value<void*>()));
}

const TStatement* TApplyForm::Selected() const { return StatementOf(tree_->currentItem()); }

bool TApplyForm::Search(const QString& text) {
  if (search_->text() != text) {
    const QSignalBlocker typing(search_);
    search_->setText(text);
  }
  const QString query = text.trimmed();
  int matches = 0;
  QTreeWidgetItem* first = nullptr;
  // A row stays when it or a section above it is named by the query, or when it holds such a row.
  std::function<bool(QTreeWidgetItem*, bool)> filter = [&](QTreeWidgetItem* item, bool named) {
    named = named || item->text(0).contains(query, Qt::CaseInsensitive);
    bool shown = false;
    for (int i = 0; i < item->childCount(); ++i) shown = filter(item->child(i), named) || shown;
    if (item->childCount() == 0 && StatementOf(item) && named) {
      shown = true;
      ++matches;
      if (!first) first = item;
    }
    item->setHidden(!query.isEmpty() && !shown);
    if (!query.isEmpty()) item->setExpanded(shown);
    return shown;
  };
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) filter(tree_->topLevelItem(i), false);
  if (query.isEmpty()) {
    found_->clear();
    return true;
  }
  if (matches == 0) {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
      VisitItems(tree_->topLevelItem(i), [](QTreeWidgetItem* item) { item->setHidden(false); });
    found_->setText(ToQString("Среди утверждений до доказываемого такого нет."_cp));
    return false;
  }
  found_->setText(ToQString("Найдено утверждений: "_cp) + QString::number(matches));
  tree_->setCurrentItem(first);
  tree_->scrollToItem(first);
  return true;
}

bool TApplyForm::Select(const TStatement& statement) {
  QTreeWidgetItem* found = nullptr;
  for (int i = 0; i < tree_->topLevelItemCount() && !found; ++i)
    VisitItems(tree_->topLevelItem(i), [&](QTreeWidgetItem* item) {
      if (!found && StatementOf(item) == &statement) found = item;
    });
  if (!found) return false;
  for (QTreeWidgetItem* up = found->parent(); up; up = up->parent()) up->setExpanded(true);
  tree_->setCurrentItem(found);
  return true;
}

void TApplyForm::CurrentChanged() {
  const QTreeWidgetItem* item = tree_->currentItem();
  const auto* node = item ? static_cast<const TPathName*>(item->data(0, kNodeRole).value<void*>()) : nullptr;
  formulation_->Clear();
  if (!node || !node->IsStatement()) {
    title_->setText(ToQString("Выберите утверждение в оглавлении слева."_cp));
  } else {
    const auto& statement = static_cast<const TStatement&>(*node);
    title_->setText(ToQString(statement.Title()));
    if (!Applicable(statement))
      formulation_->AddText("Метод нельзя применить как утверждение: у него нет формулировки."_cp, 1);
    else if (!formulation_->AddText(statement.Lines[kFormulationLine], 0)) {
      formulation_->Clear();  // what was read before the fault is dropped with it
      formulation_->AddText(statement.Lines[kFormulationLine], 1);
    }
  }
  formulation_->Refresh();
  apply_->setEnabled(Selected() != nullptr);
}

void TApplyForm::Take() {
  const TStatement* statement = Selected();
  if (!statement) return;
  chosen_ = statement;
  accept();
}

void TApplyForm::OpenHelp() {
  if (openHelp_) openHelp_(kHelpTopic);
}

void TApplyForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_F1: OpenHelp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: Take(); return;
    default: QDialog::keyPressEvent(event);
  }
}

}  // namespace lemmix
