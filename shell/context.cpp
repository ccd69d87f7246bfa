#include "shell/context.h"

namespace lemmix {

void TContext::ReleaseCatalogues() { TypesProccess.reset(); }

}  // namespace lemmix
