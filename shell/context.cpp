#include "shell/context.h"

#include <cstdio>
#include <cstdlib>

#include "book/part.h"
#include "proofrun/assot.h"

namespace lemmix {

namespace {
TContext* current = nullptr;
}  // namespace

TContext& Ctx() {
  if (current == nullptr) {
    std::fputs("lemmix: the core was used without a context\n", stderr);
    std::abort();
  }
  return *current;
}

bool HasContext() { return current != nullptr; }

TContextScope::TContextScope(TContext& context) : previous_(current) { current = &context; }

TContextScope::~TContextScope() { current = previous_; }

TContext::TContext(IMessages& messages, IQuestions& questions, IFontInstaller* fonts)
    : Messages(messages), Questions(questions), Fonts(fonts) {}

TContext::~TContext() = default;

void TContext::ReleaseCatalogues() {
  // The transformations are attached to words of the intrinsic catalogue.
  AssotProccess.reset();
  StFunc.reset();
  TypesProccess.reset();
}

void TContext::RemoveFont() {
  if (Fonts != nullptr) Fonts->Uninstall();
}

}  // namespace lemmix
