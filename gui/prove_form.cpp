#include "gui/prove_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <cctype>

#include "book/statement.h"
#include "expr/expr.h"
#include "gui/info_form.h"
#include "gui/my_edit.h"
#include "gui/qt_proof_ui.h"
#include "gui/qtext.h"
#include "gui/save_pr_form.h"
#include "notation/items.h"
#include "notation/output.h"
#include "proofrun/demo.h"
#include "proofrun/proof_export.h"
#include "proofrun/resume.h"
#include "session/session.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "types/type_name.h"

namespace lemmix {

namespace {

constexpr int kMargin = 8;
constexpr int kLabelHeight = 20;
constexpr int kStatusHeight = 22;

int ViewIndex(TSection section) { return static_cast<int>(section) - 1; }

TLetters ObjectLine(const TVar& v) {
  TLetters line = StringToLetters(NameText(v.Name)).value_or(PlainTextLetters(NameText(v.Name), kBlack));
  while (!line.empty() && line.back().Code == ' ') line.pop_back();
  if (v.Type != nullptr) {
    const std::string type = TypeName(*v.Type, nullptr);
    if (!type.empty()) {
      const TLetters named = PlainTextLetters(" - " + type, kBlack);
      line.insert(line.end(), named.begin(), named.end());
    }
  }
  return line;
}

TLetters ConditionLine(const TCond& c) {
  if (std::optional<TLetters> letters = TreeToLetters(*c.Expr)) return std::move(*letters);
  return PlainTextLetters("?", kBlack);
}

// The congratulation at the end of a proof: "Ok" closes it, "Info" shows
// what the prover did by itself.
class TCongratForm : public QDialog {
 public:
  TCongratForm(TInfoForm& info, QWidget* parent) : QDialog(parent) {
    setObjectName("CongratForm");
    setWindowTitle(ToQString("Поздравляем!"_cp));
    auto* layout = new QVBoxLayout(this);
    for (const char* text : {"THE PROOF", "IS  SUCCESSFULLY  FINISHED"}) {
      auto* label = new QLabel(text, this);
      QFont font = label->font();
      font.setPointSize(20);
      font.setBold(true);
      label->setFont(font);
      label->setAlignment(Qt::AlignCenter);
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, QColor(0, 0, 160));
      label->setPalette(palette);
      layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    auto* more = new QPushButton("Info", this);
    more->setObjectName("InfoButton");
    more->setEnabled(!info.Empty());
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(more);
    buttons->addStretch();
    layout->addSpacing(12);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(more, &QPushButton::clicked, this, [&info] { info.ShowReports(); });
    setMinimumWidth(460);
  }
};

}  // namespace

TProveForm::TProveForm(TSession& context, const TBook& book, const TStatement& statement, QWidget* parent)
    : QDialog(parent),
      context_(context),
      book_(book),
      statement_(statement),
      ui_(std::make_unique<TQtProofUi>(*this, book, statement, context.Questions)),
      demoDisplay_(std::make_unique<TQtDemoDisplay>(*this, book, statement)),
      protocol_(context.Messages),
      driver_(*ui_, protocol_, book, context.AssotProccess.get()),
      info_(std::make_unique<TInfoForm>(this)) {
  setObjectName("ProveForm");
  ui_->SetSubproofDone([this](const std::string& told) { subproofDone_ = told; });
  setWindowModality(Qt::ApplicationModal);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  // The prover runs on this thread: its reports keep the windows painted.
  info_->SetProgress([timer = std::make_shared<QElapsedTimer>()] {
    if (timer->isValid() && timer->elapsed() < 100) return;
    timer->start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });

  menu_ = new QMenuBar(this);
  BuildMenu();

  // In the order of the sections.
  const std::string captions[] = {"Данные объекты"_cp, "Искомые объекты"_cp, "Данные условия"_cp, "Доказываемые условия"_cp};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(ToQString(captions[i]), this);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    labels_.push_back(label);
    auto* view = new TMyEdit(this);
    view->ReadOnly = true;
    view->CheckButtons = i != ViewIndex(TSection::RequiredObjects);
    view->Outer = QRect(0, 0, 200, 100);
    view->Attach(this, &edits_);
    view->Box()->installEventFilter(this);
    views_.push_back(view);
    edits_.push_back(view);
  }
  contradiction_ = new QLabel(ToQString("ДОКАЗАТЕЛЬСТВО ОТ ПРОТИВНОГО"_cp), this);
  contradiction_->setObjectName("ContradictionFrame");
  contradiction_->setFrameStyle(QFrame::Box | QFrame::Raised);
  contradiction_->setLineWidth(2);
  contradiction_->setAlignment(Qt::AlignCenter);
  QFont big = contradiction_->font();
  big.setPointSize(18);
  big.setBold(true);
  contradiction_->setFont(big);
  QPalette red = contradiction_->palette();
  red.setColor(QPalette::WindowText, QColor(160, 0, 0));
  contradiction_->setPalette(red);
  contradiction_->hide();
  status_ = new QLabel(this);
  status_->setObjectName("Status");
  // While a demonstration waits for a key its status blinks.
  blink_ = new QTimer(this);
  blink_->setInterval(300);
  connect(blink_, &QTimer::timeout, this, [this] {
    if (busy_) return;
    status_->setText(status_->text().isEmpty() ? ToQString("Нажмите любую клавишу"_cp) : QString());
  });

  QRect screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1024, 768);
  resize(std::max(800, screen.width() * 7 / 8), std::max(560, screen.height() * 7 / 8));
}

TProveForm::~TProveForm() {
  demo_.reset();  // gives the driver its own dialogs back
  if (context_.Info == info_.get()) {
    context_.Info = nullptr;
    context_.Commenting = false;
  }
}

void TProveForm::SetHelp(std::function<void(int)> openHelp) {
  openHelp_ = openHelp;
  ui_->SetHelp(openHelp);
  info_->SetHelp(std::move(openHelp));
}

void TProveForm::BuildMenu() {
  const auto add = [this](QMenu* menu, TItem item, const char* name, const std::string& text, QKeySequence key) {
    auto* action = new QAction(ToQString(text), this);
    action->setObjectName(name);
    if (!key.isEmpty()) action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    if (menu != nullptr) {
      menu->addAction(action);
    } else {
      menu_->addAction(action);
    }
    addAction(action);  // the shortcuts work with the menus closed
    items_[item] = action;
    return action;
  };
  QMenu* actions = menu_->addMenu(ToQString("Действия"_cp));
  actions->setObjectName("ActionsMenu");
  add(actions, TItem::Define, "Define", "Определить переменную"_cp, QKeySequence(Qt::ALT | Qt::Key_1));
  add(actions, TItem::Apply, "Apply", "Применить утверждение"_cp, QKeySequence(Qt::ALT | Qt::Key_2));
  add(actions, TItem::Cases, "Cases", "Рассмотреть случаи"_cp, QKeySequence(Qt::ALT | Qt::Key_3));
  add(actions, TItem::Auxiliary, "Auxiliary", "Доказать условие"_cp, QKeySequence(Qt::ALT | Qt::Key_4));
  // Offered like the other actions: every proof the driver carries out can be done from the window.
  add(actions, TItem::Conjecture, "Conjecture", "Ввести гипотезу"_cp, QKeySequence(Qt::ALT | Qt::Key_5));
  QMenu* methods = menu_->addMenu(ToQString("Методы"_cp));
  methods->setObjectName("MethodsMenu");
  add(methods, TItem::Contradiction, "Contradiction", "От противного"_cp, QKeySequence(Qt::ALT | Qt::Key_7));
  add(methods, TItem::Induction, "Induction", "По индукции"_cp, QKeySequence(Qt::ALT | Qt::Key_8));
  add(nullptr, TItem::Undo, "Undo", "Назад"_cp, QKeySequence(Qt::ALT | Qt::Key_Backspace));
  add(nullptr, TItem::Info, "Info", "Действия_компьютера"_cp, {});
  add(nullptr, TItem::Prove, "Prove", "Сохранить_протокол"_cp, {});
  add(nullptr, TItem::Export, "Export", "Экспорт…"_cp, {});
  add(nullptr, TItem::Help, "Help", "Справка"_cp, QKeySequence(Qt::Key_F1));
  add(nullptr, TItem::Exit, "Exit", "Выход"_cp, QKeySequence(Qt::ALT | Qt::Key_X));

  const std::pair<TItem, TCommand> commands[] = {
      {TItem::Define, TCommand::Define},         {TItem::Apply, TCommand::Apply},
      {TItem::Cases, TCommand::Cases},           {TItem::Auxiliary, TCommand::Auxiliary},
      {TItem::Conjecture, TCommand::Conjecture}, {TItem::Contradiction, TCommand::Contradiction},
      {TItem::Induction, TCommand::Induction},   {TItem::Undo, TCommand::Undo}};
  for (const auto& [item, command] : commands)
    connect(items_[item], &QAction::triggered, this, [this, command] { Run(command); });
  connect(items_[TItem::Info], &QAction::triggered, this, &TProveForm::ShowInfo);
  connect(items_[TItem::Export], &QAction::triggered, this, &TProveForm::ExportProof);
  connect(items_[TItem::Prove], &QAction::triggered, this, [this] {
    if (demo_) {
      TakeOver();
    } else {
      SaveProtocol();
    }
  });
  connect(items_[TItem::Help], &QAction::triggered, this, [this] {
    if (openHelp_) openHelp_(demo_ ? kDemonstrationHelpTopic : kHelpTopic);
  });
  connect(items_[TItem::Exit], &QAction::triggered, this, &QWidget::close);
}

TMyEdit& TProveForm::View(TSection section) const { return *views_[ViewIndex(section)]; }

bool TProveForm::Start(const std::string& journalPath) {
  info_->Reset();
  context_.Info = info_.get();
  context_.Commenting = true;
  bool started = false;
  Step([&] { started = driver_.Start(statement_, journalPath); });
  // A task the tests settle as it starts is proved all the same: the
  // congratulation says so (with what the tests did) and the protocol may be kept.
  if (started && driver_.Succeeded()) Finish();
  if (!started || !driver_.Open()) {
    context_.Info = nullptr;
    context_.Commenting = false;
    return false;
  }
  Refresh();
  return true;
}

bool TProveForm::Resume(const std::vector<std::string>& journal, const std::string& journalPath) {
  info_->Reset();
  context_.Info = info_.get();
  context_.Commenting = true;
  TResumeResult resumed;
  Step([&] { resumed = ResumeProof(driver_, protocol_, book_, statement_, journal, journalPath); });
  if (resumed.Stopped) {
    const std::string line = std::to_string(resumed.Line);
    context_.Messages.Error({"Журнал доказательства удалось повторить только до строки "_cp + line + ":\\n "_cp +
                                 resumed.Stopped->Rus,
                             "The proof journal replays only up to line " + line + ":\\n " + resumed.Stopped->Eng});
  }
  if (resumed.Started && driver_.Succeeded()) Finish();
  if (!resumed.Started || !driver_.Open()) {
    CloseJournal();
    context_.Info = nullptr;
    context_.Commenting = false;
    return false;
  }
  Refresh();
  return true;
}

bool TProveForm::StartDemonstration(std::vector<std::string> protocol, const std::string& fullProtocolPath) {
  info_->Reset();
  context_.Info = info_.get();
  context_.Commenting = true;
  demo_ = std::make_unique<TDemonstration>(driver_, protocol_, book_);
  demo_->SetDisplay(demoDisplay_.get());
  bool started = false;
  Step([&] { started = demo_->Begin(statement_, std::move(protocol), fullProtocolPath); });
  if (!started || !driver_.Open()) {  // the demonstration has said why
    demo_.reset();
    context_.Info = nullptr;
    context_.Commenting = false;
    return false;
  }
  items_[TItem::Prove]->setText(ToQString("Доказывать"_cp));
  blink_->start();
  Refresh();
  return true;
}

void TProveForm::DemoStep() {
  if (!demo_ || busy_ || !driver_.Open()) return;
  Step([&] { demo_->Step(); });
  if (driver_.Succeeded() || !demo_->Ended()) {
    Refresh();
    return;
  }
  blink_->stop();
  status_->clear();
  // The demonstration has said why it stopped. The step that failed is taken
  // back; the student may go on from the field before it.
  if (driver_.Open() && driver_.Depth() > 1 &&
      context_.Questions.Ask({"Продолжить доказательство самостоятельно ?"_cp, "Continue the proof yourself?"})) {
    TakeOver();
    return;
  }
  close();
}

void TProveForm::TakeOver() {
  if (!demo_) return;
  demo_.reset();
  protocol_.EndDemonstration();
  // From here on the student proves: the proof is journaled like any other.
  protocol_.OpenJournal(context_.Dir + "\\Prt.dat");
  blink_->stop();
  status_->clear();
  items_[TItem::Prove]->setText(ToQString("Сохранить_протокол"_cp));
  Refresh();
}

void TProveForm::Step(const std::function<void()>& step) {
  busy_ = true;
  subproofDone_.clear();
  status_->setText(ToQString("Подождите, компьютер думает ..."_cp));
  status_->repaint();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  step();
  QApplication::restoreOverrideCursor();
  status_->setText(ToQString(subproofDone_));
  busy_ = false;
}

void TProveForm::Run(TCommand command) {
  if (busy_ || !driver_.Open() || (demo_ && command != TCommand::Undo)) return;
  Step([&] { driver_.Act(command); });
  Refresh();
}

void TProveForm::RunMarked() {
  if (busy_ || !driver_.Open()) return;
  if (demo_) {
    for (TMyEdit* view : views_) view->SetMarkedLine(-1);
    return;
  }
  // The first marked item: proving conditions, given conditions, then given objects.
  const TSection order[] = {TSection::ProvingConds, TSection::GivenConds, TSection::GivenObjects};
  std::optional<std::pair<TSection, int>> marked;
  for (const TSection section : order) {
    const int line = View(section).MarkedLine();
    if (!marked && line >= 0 && View(section).Visible()) marked = {section, line};
  }
  for (TMyEdit* view : views_) view->SetMarkedLine(-1);
  if (!marked) return;
  const auto [section, line] = *marked;
  Step([&] {
    if (section == TSection::GivenObjects) {
      driver_.MarkGivenObject(static_cast<std::size_t>(line));
    } else {
      driver_.MarkCondition(section, static_cast<std::size_t>(line));
    }
  });
  Refresh();
}

void TProveForm::Fill(TMyEdit& view, const std::vector<TLetters>& lines) {
  view.Clear();
  for (const TLetters& line : lines) view.AddLetters(line);
}

void TProveForm::Refresh() {
  if (!driver_.Open()) {
    Finish();
    return;
  }
  const TKernel& k = *driver_.Current();
  std::string caption = statement_.Title();
  if (driver_.Level() > 0) caption += std::string(DialogCaption(13, true)) + std::to_string(driver_.Level()) + ")";
  if (driver_.Caption() != kNoCaption) caption += ": " + std::string(DialogCaption(driver_.Caption(), true));
  setWindowTitle(ToQString(caption));

  std::vector<TLetters> lines;
  for (const TVarPtr& v : k.GivenObjects) lines.push_back(ObjectLine(*v));
  Fill(View(TSection::GivenObjects), lines);
  lines.clear();
  for (const TVarPtr& v : k.RequiredObjects) lines.push_back(ObjectLine(*v));
  Fill(View(TSection::RequiredObjects), lines);
  lines.clear();
  for (const TCondPtr& c : k.GivenConds) lines.push_back(ConditionLine(*c));
  Fill(View(TSection::GivenConds), lines);
  lines.clear();
  for (const TCondPtr& c : k.ProvingConds) lines.push_back(ConditionLine(*c));
  Fill(View(TSection::ProvingConds), lines);

  const bool contradiction = k.ByContradiction;
  const bool proving = demo_ == nullptr;
  for (const TItem item : {TItem::Define, TItem::Apply, TItem::Cases, TItem::Auxiliary, TItem::Conjecture})
    items_[item]->setEnabled(proving);
  items_[TItem::Contradiction]->setEnabled(proving && !contradiction);
  items_[TItem::Induction]->setEnabled(proving && driver_.InductionEnabled());
  items_[TItem::Undo]->setEnabled(driver_.UndoEnabled());
  items_[TItem::Info]->setEnabled(!info_->Empty());
  items_[TItem::Prove]->setEnabled(!proving || !saved_);
  for (const TSection section : {TSection::RequiredObjects, TSection::ProvingConds}) {
    View(section).SetVisible(!contradiction);
    labels_[ViewIndex(section)]->setVisible(!contradiction);
  }
  contradiction_->setVisible(contradiction);
  LayOut();
}

void TProveForm::Finish() {
  if (finished_) return;
  finished_ = true;
  blink_->stop();
  if (driver_.Succeeded()) {
    TCongratForm congratulation(*info_, this);
    congratulation.exec();
    if (!demo_) OfferSave();
  }
  CloseJournal();
  close();
}

void TProveForm::CloseJournal() {
  if (!demo_ && !driver_.Succeeded() && !protocol_.JournalPath().empty()) MarkJournalAborted(protocol_.JournalPath());
  protocol_.Close();
}

void TProveForm::OfferSave() {
  if (saved_ || protocol_.Lines.empty()) return;
  if (!context_.Questions.Ask({"СОХРАНИТЬ ПРОТОКОЛ ДОКАЗАТЕЛЬСТВА ?"_cp, "Save the protocol of the proof?"})) return;
  SaveProtocol();
}

void TProveForm::SaveProtocol() {
  TSavePrForm form(this);
  if (!form.SaveProtocol(statement_, protocol_.Lines, context_.DeveloperMode, context_.Messages, context_.Questions))
    return;
  saved_ = true;
  items_[TItem::Prove]->setEnabled(false);
}

void TProveForm::ExportProof() {
  if (busy_) return;
  const TExportResult told =
      lemmix::ExportProof(protocol_.Lines, {&book_, &statement_, context_.AssotProccess.get(), false});
  if (!told.Proof) {
    context_.Messages.Error(told.Fault);
    return;
  }
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  // The statement's English name, kept to what every file system takes.
  QString name;
  for (const char c : statement_.Lines[kEnglishNameLine])
    name += std::isalnum(static_cast<unsigned char>(c)) ? QChar(c) : QChar('_');
  QFileDialog dialog(this, ToQString("Экспорт доказательства"_cp), folder,
                     ToQString("Страница HTML (*.html);;Текст (*.txt)"_cp));
  dialog.setObjectName("ExportDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix("html");
  dialog.selectFile((name.isEmpty() ? QString("proof") : name) + ".html");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().front();
  const bool html = !chosen.endsWith(".txt", Qt::CaseInsensitive);
  const std::string text = html ? ExportHtml(*told.Proof, false) : ExportText(*told.Proof, false);
  const std::optional<std::string> path = SystemPath(chosen.toStdString());
  if (!path || !WriteFileReplacing(*path, text)) {
    const std::string shown = Utf8ToCp1251(chosen.toStdString());
    context_.Messages.Error({"Не удалось записать файл "_cp + shown, "Unable to write the file " + shown});
  }
}

void TProveForm::ShowInfo() { info_->ShowReports(); }

bool TProveForm::event(QEvent* event) {
  if (event->type() == kLineMarkedEvent) {
    RunMarked();
    return true;
  }
  return QDialog::event(event);
}

bool TProveForm::eventFilter(QObject* watched, QEvent* event) {
  // Enter or the space bar in a view marks the line the caret stands on.
  if (event->type() == QEvent::KeyPress && demo_) {
    // A key in a view is a key of the demonstration too.
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool marks = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
    if (marks && key->modifiers() == Qt::NoModifier)
      for (TMyEdit* view : views_)
        if (view->Box() == watched && view->CheckButtons && view->Check(view->Text().Caret().Line)) {
          view->SetMarkedLine(view->Text().Caret().Line);
          RunMarked();
          return true;
        }
  }
  return QDialog::eventFilter(watched, event);
}

void TProveForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  // Any other key replays the next step; modifiers alone are no key.
  if (demo_ && event->modifiers() == Qt::NoModifier && event->key() != Qt::Key_Shift && event->key() != Qt::Key_Control &&
      event->key() != Qt::Key_Alt && event->key() != Qt::Key_F1) {
    DemoStep();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TProveForm::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  if (driver_.Open() && !demo_) OfferSave();
  CloseJournal();
  if (context_.Info == info_.get()) {
    context_.Info = nullptr;
    context_.Commenting = false;
  }
  QDialog::closeEvent(event);
}

void TProveForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TProveForm::LayOut() {
  // Objects in the left third, conditions in the right two thirds; given
  // above, required and proving below from two thirds of the height.
  const int top = menu_->sizeHint().height() + kMargin;
  menu_->setGeometry(0, 0, width(), menu_->sizeHint().height());
  const int left = kMargin;
  const int fullWidth = width() - 2 * kMargin;
  const int fullHeight = height() - top - kMargin - kStatusHeight;
  const int objectsWidth = fullWidth / 3;
  const int lowerTop = top + fullHeight * 2 / 3;
  const int conditionsLeft = left + objectsWidth;
  const int conditionsWidth = fullWidth - objectsWidth;
  const auto place = [&](TSection section, int x, int y, int w, int h) {
    labels_[ViewIndex(section)]->setGeometry(x + 4, y, w - 8, kLabelHeight);
    View(section).SetOuter(QRect(x, y + kLabelHeight, w, h - kLabelHeight));
  };
  place(TSection::GivenObjects, left, top, objectsWidth, lowerTop - top);
  place(TSection::GivenConds, conditionsLeft, top, conditionsWidth, lowerTop - top);
  const int lowerHeight = top + fullHeight - lowerTop;
  place(TSection::RequiredObjects, left, lowerTop, objectsWidth, lowerHeight);
  place(TSection::ProvingConds, conditionsLeft, lowerTop, conditionsWidth, lowerHeight);
  contradiction_->setGeometry(left + 2, lowerTop + kLabelHeight + 2, fullWidth - 4, lowerHeight - kLabelHeight - 4);
  status_->setGeometry(left + 4, top + fullHeight + 2, fullWidth - 8, kStatusHeight - 2);
}

}  // namespace lemmix
