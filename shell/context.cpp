#include "shell/context.h"

namespace lemmix {

void TContext::ReleaseCatalogues() {
  StFunc.reset();
  TypesProccess.reset();
}

void TContext::RemoveFont() {
  if (Fonts != nullptr) Fonts->Uninstall();
}

}  // namespace lemmix
