// Feeds arbitrary bytes to the reader of the storage form of expressions over
// the shipped catalogues; what it reads is written back and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expr/expr.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "intrinsics/st_func.h"
#include "types/types_proccess.h"

namespace {

// The catalogues load once; every input gets fresh messages.
lemmix::TContext& Context() {
  static lemmix::RecordingMessages messages;
  static lemmix::TContext context(messages, messages);
  static const bool loaded = [] {
    context.TypesProccess = std::make_unique<lemmix::TTypesProccess>(messages);
    context.StFunc = std::make_unique<lemmix::TStFunc>(*context.TypesProccess, messages);
    return context.TypesProccess->Load(LEMMIX_DATA_DIR) && context.StFunc->LoadIntrinsics(LEMMIX_DATA_DIR);
  }();
  if (!loaded) __builtin_trap();
  messages.Clear();
  return context;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  TContext& context = Context();
  const TContextScope scope(context);
  TVarList locals;
  const TExprPtr e = FromString(std::string_view(reinterpret_cast<const char*>(data), size), &locals);
  if (!e) return 0;
  const std::string text = ToString(*e);
  TVarList again;
  const TExprPtr back = FromString(text, &again);
  if (!back || ToString(*back) != text) __builtin_trap();  // what was read must read back
  DeepCopy(*e, true);
  Size(*e);
  return 0;
}
