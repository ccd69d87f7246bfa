#include "gui/lemmix.h"

#include <QTimer>

#include "gui/about_form.h"
#include "gui/help_form.h"
#include "gui/html_form.h"
#include "gui/main_form.h"
#include "gui/method_forms.h"
#include "gui/message_forms.h"
#include "gui/my_edit.h"
#include "gui/script_form.h"
#include "gui/qt_fonts.h"
#include "gui/qt_messages.h"
#include "gui/setup_form.h"
#include "gui/show_form.h"

namespace lemmix {

TLemmix::TLemmix()
    : messageForm_(std::make_unique<TMessageForm>()),
      questForm_(std::make_unique<TQuestForm>()),
      messages_(std::make_unique<QtMessages>(*messageForm_, *questForm_)),
      fonts_(std::make_unique<QtFontInstaller>()),
      context_(std::make_unique<TSession>(*messages_, *messages_, fonts_.get())),
      contextScope_(std::make_unique<TContextScope>(*context_)) {
  mainForm_ = std::make_unique<TMainForm>(*context_);
  aboutForm_ = std::make_unique<TAboutForm>(mainForm_.get());
  helpForm_ = std::make_unique<THelpForm>(context_->Dir, *messages_, mainForm_.get());
  messageForm_->SetHelp([this](int topic) { helpForm_->ShowTopic(topic); });

  mainForm_->Startup();
  if (context_->StartupOk) {
    scriptForm_ = std::make_unique<TScriptForm>(*context_->StFunc, mainForm_.get());
    scriptForm_->SetHelp([this](int topic) { helpForm_->ShowTopic(topic); });
    TMyEdit::SetPaletteOpener([this](QWidget*) { return scriptForm_->Choose(); });
  }

  setupForm_ = std::make_unique<TSetupForm>(*context_, mainForm_.get());
  QObject::connect(mainForm_.get(), &TMainForm::HelpRequested, helpForm_.get(), &THelpForm::ShowTopic);
  QObject::connect(mainForm_.get(), &TMainForm::AboutRequested, aboutForm_.get(), &QDialog::exec);
  QObject::connect(mainForm_.get(), &TMainForm::SetupRequested, setupForm_.get(), &QDialog::exec);
  QObject::connect(setupForm_.get(), &TSetupForm::ModeClicked, mainForm_.get(), &TMainForm::ModeChanged);
  // A user sees a formulation as a formula in the message box.
  mainForm_->SetFormulaShower([this](const std::string& text) { messageForm_->ShowFormulation(text); });
  htmlForm_ = std::make_unique<THtmlForm>(*context_, false, mainForm_.get());
  htmlForm_->SetCommands({[this](const std::string& text) { messageForm_->ShowFormulation(text); },
                          [this](TStatement& statement) { mainForm_->Prove(statement); },
                          [this](TStatement& statement) { mainForm_->Demo(statement); },
                          [this](int topic) { helpForm_->ShowTopic(topic); }});
  showForm_ = std::make_unique<TShowForm>(*context_, mainForm_.get());
  showForm_->SetHelp([this](int topic) { helpForm_->ShowTopic(topic); });
  showForm_->SetMethodNames([this] { return MethodNames(*context_->Book); });
  setupForm_->SetHelp([this](int topic) { helpForm_->ShowTopic(topic); });
  mainForm_->SetStatementWindow(showForm_.get());
  mainForm_->SetPageShower([this](const TPathName& node) { htmlForm_->Show(node); });
  QObject::connect(htmlForm_.get(), &THtmlForm::ContentsFollow, mainForm_.get(), &TMainForm::FollowPage);
}

TLemmix::~TLemmix() { TMyEdit::SetPaletteOpener(nullptr); }

void TLemmix::Show() {
  mainForm_->show();
  // Once the window is up: a proof the program was stopped in is offered back.
  QTimer::singleShot(0, mainForm_.get(), [form = mainForm_.get()] { form->OfferResume(); });
}

}  // namespace lemmix
