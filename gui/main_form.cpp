#include "gui/main_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "book/part.h"
#include "book/statement_kind.h"
#include "gui/qtext.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "session/startup.h"

namespace lemmix {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QTreeWidget* NewTree(QWidget* parent, const char* name) {
  auto* tree = Named(new QTreeWidget(parent), name);
  tree->setHeaderHidden(true);
  tree->setContextMenuPolicy(Qt::CustomContextMenu);
  return tree;
}

}  // namespace

TMainForm::TMainForm(TSession& context, QWidget* parent) : QMainWindow(parent), context_(context) {
  setObjectName("MainForm");
  auto* central = new QWidget(this);
  setCentralWidget(central);

  Pages = Named(new QTabWidget(central), "Pages");
  TreePage = Named(new QWidget, "TreePage");
  SearchPage = Named(new QWidget, "SearchPage");
  BookTree = NewTree(TreePage, "BookTree");
  auto* treeLayout = new QVBoxLayout(TreePage);
  treeLayout->addWidget(BookTree);

  Label1 = Named(new QLabel(SearchPage), "Label1");
  Label2 = Named(new QLabel(SearchPage), "Label2");
  SearchCombo = Named(new QComboBox(SearchPage), "SearchCombo");
  SearchEdit = Named(new QLineEdit(SearchPage), "SearchEdit");
  SearchButton = Named(new QPushButton(SearchPage), "SearchButton");
  SearchTree = NewTree(SearchPage, "SearchTree");
  auto* searchLayout = new QGridLayout(SearchPage);
  searchLayout->addWidget(Label1, 0, 0);
  searchLayout->addWidget(Label2, 0, 1);
  searchLayout->addWidget(SearchCombo, 1, 0);
  searchLayout->addWidget(SearchEdit, 1, 1);
  searchLayout->addWidget(SearchButton, 1, 2);
  searchLayout->addWidget(SearchTree, 2, 0, 1, 3);
  searchLayout->setColumnStretch(1, 1);
  Pages->addTab(TreePage, QString());
  Pages->addTab(SearchPage, QString());

  SaveButton = Named(new QPushButton(central), "SaveButton");
  EndButton = Named(new QPushButton(central), "EndButton");
  AboutButton = Named(new QPushButton(central), "AboutButton");
  SetupButton = Named(new QPushButton(central), "SetupButton");
  HelpButton = Named(new QPushButton(central), "HelpButton");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {SaveButton, EndButton, AboutButton, SetupButton, HelpButton}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(Pages);
  layout->addLayout(buttons);
  resize(584, 359);

  SetCaptions();
  SaveButton->setEnabled(false);
  Pages->setCurrentWidget(TreePage);
  for (const std::string& kind : StatementKindsRus()) SearchCombo->addItem(ToQString(kind));
  SearchCombo->setCurrentIndex(kAnyStatementKind);

  connect(EndButton, &QPushButton::clicked, this, &TMainForm::Exit);
  connect(HelpButton, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpTopic); });
  connect(AboutButton, &QPushButton::clicked, this, &TMainForm::AboutRequested);
  connect(SetupButton, &QPushButton::clicked, this, &TMainForm::SetupRequested);
  copyBuffer_.Deleted = true;  // the buffer starts empty
  ConnectBook();
}

void TMainForm::SetCaptions() {
  setWindowTitle(ToQString("Леммикс"_cp));
  Pages->setTabText(0, ToQString("Содержание"_cp));
  Pages->setTabText(1, ToQString("Поиск"_cp));
  SearchButton->setText(ToQString("Поиск"_cp));
  Label1->setText(ToQString("Тип утверждения"_cp));
  Label2->setText(ToQString("Подстрока названия утверждения"_cp));
  SaveButton->setText(ToQString("Сохранить"_cp));
  EndButton->setText(ToQString("Выход"_cp));
  AboutButton->setText(ToQString("О программе"_cp));
  SetupButton->setText(ToQString("Настройка"_cp));
  HelpButton->setText(ToQString("Справка"_cp));
}

void TMainForm::Startup() {
  context_.StartupOk = false;
  SearchButton->setEnabled(false);
  SetupButton->setVisible(true);
  RunStartup(context_);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The loader that failed has shown its message; the run ends here.
  if (!context_.StartupOk) {
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  LoadBook();
}

void TMainForm::Exit() {
  if (context_.Questions.Ask({"ЗАКРЫТЬ ЛЕММИКС?"_cp, "CLOSE LEMMIX?"})) close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    // The book is offered for saving while the catalogues still stand, so
    // that a save that fails can keep the program running with its edits.
    if (SaveButton->isEnabled() && context_.Book &&
        context_.Questions.Ask({"СОХРАНИТЬ ИЗМЕНЕНИЯ В КНИГЕ\n\""_cp + context_.Book->Title() + "\" ?",
                                "Save the changes of the book \"" + context_.Book->Title() + "\"?"}) &&
        !SaveBook()) {
      event->ignore();
      return;
    }
    closed_ = true;
    context_.ReleaseCatalogues();
    context_.RemoveFont();
    emit Closed();
  }
  event->accept();
}

}  // namespace lemmix
