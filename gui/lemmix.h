// The program's windows and state in the order the process entry creates them.
#pragma once

#include <memory>

#include "session/session.h"

namespace lemmix {

class QtFontInstaller;
class QtMessages;
class TAboutForm;
class THelpForm;
class THtmlForm;
class TMainForm;
class TMessageForm;
class TQuestForm;
class TScriptForm;
class TSetupForm;
class TShowForm;

class TLemmix {
 public:
  // Creates the windows and runs the start-up routine.
  TLemmix();
  ~TLemmix();

  // The first showing: closes the window again when the start-up failed.
  void Show();

  TSession& Context() { return *context_; }
  TMainForm& MainForm() { return *mainForm_; }
  TSetupForm& SetupForm() { return *setupForm_; }
  TAboutForm& AboutForm() { return *aboutForm_; }
  THelpForm& HelpForm() { return *helpForm_; }
  // Only when the start-up succeeded.
  TScriptForm* ScriptForm() { return scriptForm_.get(); }
  THtmlForm& HtmlForm() { return *htmlForm_; }
  TShowForm& ShowForm() { return *showForm_; }

 private:
  // Destroyed last first: the dialogs parented to the main window go before it.
  std::unique_ptr<TMessageForm> messageForm_;
  std::unique_ptr<TQuestForm> questForm_;
  std::unique_ptr<QtMessages> messages_;
  std::unique_ptr<QtFontInstaller> fonts_;
  std::unique_ptr<TSession> context_;
  std::unique_ptr<TContextScope> contextScope_;
  std::unique_ptr<TMainForm> mainForm_;
  std::unique_ptr<TAboutForm> aboutForm_;
  std::unique_ptr<THelpForm> helpForm_;
  std::unique_ptr<TSetupForm> setupForm_;
  std::unique_ptr<TScriptForm> scriptForm_;
  std::unique_ptr<THtmlForm> htmlForm_;
  std::unique_ptr<TShowForm> showForm_;
};

}  // namespace lemmix
