// The process-wide state of one run: the data directory, the start-up flag,
// the modes and the catalogues. Start-up creates it and the end of the run
// destroys it; a test makes a fresh one with catalogues of its own.
#pragma once

#include <memory>
#include <string>

#include "intrinsics/st_func.h"
#include "shell/fonts.h"
#include "shell/message.h"
#include "shell/settings.h"
#include "types/types_proccess.h"

namespace lemmix {

class IInfoSink;
class TAssotProccess;
class TBook;

class TContext {
 public:
  TContext(IMessages& messages, IQuestions& questions, IFontInstaller* fonts = nullptr);
  ~TContext();
  TContext(const TContext&) = delete;
  TContext& operator=(const TContext&) = delete;

  IMessages& Messages;
  IQuestions& Questions;
  IFontInstaller* Fonts;  // absent: the font is not installed

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
  std::unique_ptr<TTypesProccess> TypesProccess;
  std::unique_ptr<TStFunc> StFunc;
  std::unique_ptr<TAssotProccess> AssotProccess;
  // The book, loaded at the first showing of the main window.
  std::unique_ptr<TBook> Book;

  // The catalogues in their closing order.
  void ReleaseCatalogues();
  // The last step of the run: the font goes.
  void RemoveFont();
};

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
