// The shipped catalogues for the fuzz targets, loaded once; every input gets
// fresh messages.
#pragma once

#include "intrinsics/st_func.h"
#include "session/session.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix::fuzzing {

inline TSession& Context() {
  static RecordingMessages messages;
  static TSession context(messages, messages);
  static const bool loaded = [] {
    return context.NewTypes().Load(LEMMIX_DATA_DIR) && context.NewStFunc().LoadIntrinsics(LEMMIX_DATA_DIR);
  }();
  if (!loaded) __builtin_trap();
  messages.Clear();
  return context;
}

}  // namespace lemmix::fuzzing
