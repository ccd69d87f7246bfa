// One run of the program: the core's context together with everything the
// run owns — the type and intrinsic catalogues, the associated
// transformations, the book — and the font it installed. It sits above every
// subsystem, so the prover's state can join it without an upward include.
#pragma once

#include <memory>

#include "shell/context.h"
#include "shell/fonts.h"

namespace lemmix {

class TAssotProccess;
class TBook;
class TStFunc;
class TTypesProccess;

class TSession : public TContext {
 public:
  TSession(IMessages& messages, IQuestions& questions, IFontInstaller* fonts = nullptr);
  ~TSession();

  IFontInstaller* Fonts;  // absent: the font is not installed

  std::unique_ptr<TAssotProccess> AssotProccess;
  // The book, loaded at the first showing of the main window.
  std::unique_ptr<TBook> Book;

  // Makes fresh catalogues (empty until loaded) and refers the context to them.
  TTypesProccess& NewTypes();
  TStFunc& NewStFunc();
  // The catalogues in their closing order.
  void ReleaseCatalogues();
  // The last step of the run: the font goes.
  void RemoveFont();

 private:
  std::unique_ptr<TTypesProccess> types_;
  std::unique_ptr<TStFunc> stFunc_;
};

}  // namespace lemmix
