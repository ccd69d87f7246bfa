// The start-up routine's work that belongs to the core: the data directory and
// the catalogues, loaded in their fixed order; the first loader that fails has
// shown its message and stops the start.
#pragma once

#include "shell/context.h"

namespace lemmix {

// Takes the working directory as the data directory and loads the catalogues.
bool RunStartup(TContext& context);

// Loads the catalogues from context.Dir, setting and answering context.StartupOk.
bool LoadCatalogues(TContext& context);

}  // namespace lemmix
