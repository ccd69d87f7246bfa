#include "shell/context.h"

namespace lemmix {

void TContext::ReleaseCatalogues() {
  StFunc.reset();
  TypesProccess.reset();
}

}  // namespace lemmix
