// The shipped catalogues for the fuzz targets, loaded once; every input gets
// fresh messages.
#pragma once

#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix::fuzzing {

inline TContext& Context() {
  static RecordingMessages messages;
  static TContext context(messages, messages);
  static const bool loaded = [] {
    context.TypesProccess = std::make_unique<TTypesProccess>(messages);
    context.StFunc = std::make_unique<TStFunc>(*context.TypesProccess, messages);
    return context.TypesProccess->Load(LEMMIX_DATA_DIR) && context.StFunc->LoadIntrinsics(LEMMIX_DATA_DIR);
  }();
  if (!loaded) __builtin_trap();
  messages.Clear();
  return context;
}

}  // namespace lemmix::fuzzing
