// The core's view of one run: messages and questions, the data directory, the
// modes, the settings and the two catalogues every formula needs. The session
// (session/) owns the catalogues and sets the references here; a test sets
// its own. Nothing here owns anything of a layer above.
#pragma once

#include <string>

#include "shell/message.h"
#include "shell/settings.h"

namespace lemmix {

class IInfoSink;
class TStFunc;
class TTypesProccess;

class TContext {
 public:
  TContext(IMessages& messages, IQuestions& questions) : Messages(messages), Questions(questions) {}
  TContext(const TContext&) = delete;
  TContext& operator=(const TContext&) = delete;

  IMessages& Messages;
  IQuestions& Questions;

  std::string Dir;       // the data directory, in the system's path form
  std::string BookPath;  // Dir + "\book"
  bool StartupOk = false;
  bool DemoRunning = false;
  // Unattended verification of protocols: errors go to the run's log file
  // (DemoLogPath) instead of a window.
  bool ProveThrough = false;
  std::string DemoLogPath;
  bool DeveloperMode = false;
  // Commenting: automatic steps report to the information sink.
  bool Commenting = false;
  IInfoSink* Info = nullptr;

  TAutoSettings Settings;
  // The catalogues of the run, owned by whoever set them (the session).
  TTypesProccess* TypesProccess = nullptr;
  TStFunc* StFunc = nullptr;
};

// A context for a run inside another (a verification, a replay with its
// messages kept): the same data, modes, settings, catalogues and sink.
void InheritRun(TContext& context, const TContext& from);

// The context of the running program, through which the core reaches its
// catalogues and settings (TypesProccess, StFunc ...). One is current while a
// scope holds it; a test makes its own.
TContext& Ctx();
bool HasContext();

class TContextScope {
 public:
  explicit TContextScope(TContext& context);
  ~TContextScope();
  TContextScope(const TContextScope&) = delete;
  TContextScope& operator=(const TContextScope&) = delete;

 private:
  TContext* previous_;
};

}  // namespace lemmix
