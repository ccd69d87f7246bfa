#include "session/session.h"

#include "book/part.h"
#include "intrinsics/st_func.h"
#include "proofrun/assot.h"
#include "types/types_proccess.h"

namespace lemmix {

TSession::TSession(IMessages& messages, IQuestions& questions, IFontInstaller* fonts)
    : TContext(messages, questions), Fonts(fonts) {}

TSession::~TSession() { ReleaseCatalogues(); }

TTypesProccess& TSession::NewTypes() {
  // The intrinsic catalogue refers to the types: it goes first.
  ReleaseCatalogues();
  types_ = std::make_unique<TTypesProccess>(Messages);
  TypesProccess = types_.get();
  return *types_;
}

TStFunc& TSession::NewStFunc() {
  AssotProccess.reset();
  stFunc_ = std::make_unique<TStFunc>(*types_, Messages);
  StFunc = stFunc_.get();
  return *stFunc_;
}

void TSession::ReleaseCatalogues() {
  // The transformations are attached to words of the intrinsic catalogue.
  AssotProccess.reset();
  StFunc = nullptr;
  stFunc_.reset();
  TypesProccess = nullptr;
  types_.reset();
}

void TSession::RemoveFont() {
  if (Fonts != nullptr) Fonts->Uninstall();
}

}  // namespace lemmix
