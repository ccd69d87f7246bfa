// The start-up routine's work that belongs to the core: the data directory and
// the catalogues, loaded in their fixed order; the first loader that fails has
// shown its message and stops the start.
#pragma once

#include "session/session.h"

namespace lemmix {

// Takes the working directory as the data directory and loads the catalogues.
bool RunStartup(TSession& session);

// Loads the catalogues from session.Dir, setting and answering session.StartupOk.
bool LoadCatalogues(TSession& session);

}  // namespace lemmix
