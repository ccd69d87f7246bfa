// The shipped catalogues, loaded once for all benchmarks.
#pragma once

#include <cstdlib>

#include "intrinsics/st_func.h"
#include "session/session.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix {

struct Catalogues {
  RecordingMessages messages;
  TSession context{messages, messages};
  TContextScope scope{context};
  Catalogues() {
    if (!context.NewTypes().Load(LEMMIX_DATA_DIR) || !context.NewStFunc().LoadIntrinsics(LEMMIX_DATA_DIR)) std::abort();
  }
};

inline Catalogues& Data() {
  static Catalogues catalogues;
  return catalogues;
}

}  // namespace lemmix
