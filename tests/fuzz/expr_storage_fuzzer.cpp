// Feeds arbitrary bytes to the reader of the storage form of expressions over
// the shipped catalogues; what it reads is written back and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expr/expr.h"
#include "fuzz_context.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  TSession& context = fuzzing::Context();
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
