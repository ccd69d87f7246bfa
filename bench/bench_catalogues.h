// The shipped catalogues, loaded once for all benchmarks.
#pragma once

#include <cstdlib>

#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix {

struct Catalogues {
  RecordingMessages messages;
  TContext context{messages, messages};
  TContextScope scope{context};
  Catalogues() {
    context.TypesProccess = std::make_unique<TTypesProccess>(messages);
    context.StFunc = std::make_unique<TStFunc>(*context.TypesProccess, messages);
    if (!context.TypesProccess->Load(LEMMIX_DATA_DIR) || !context.StFunc->LoadIntrinsics(LEMMIX_DATA_DIR)) std::abort();
  }
};

inline Catalogues& Data() {
  static Catalogues catalogues;
  return catalogues;
}

}  // namespace lemmix
