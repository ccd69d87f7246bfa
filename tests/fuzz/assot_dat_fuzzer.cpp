// Arbitrary bytes as the lines of ASSOT.DAT: the reader must stop with its
// message or build entries that are whole, each attached to its words.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_context.h"
#include "proofrun/assot.h"
#include "shell/files.h"
#include "intrinsics/st_func.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  TSession& context = fuzzing::Context();
  const TContextScope scope(context);
  TAssotProccess assot(*context.StFunc, context.Messages);
  assot.LoadAssotLines(SplitLines(std::string_view(reinterpret_cast<const char*>(data), size)));
  for (const auto& t : assot.Transformations())
    if (t->Name.empty() || t->RusName.empty()) __builtin_trap();  // an entry is whole or absent
  for (int n = 0; n < 256; ++n)
    for (const TAssot* t : assot.Attached(n))
      if (t == nullptr) __builtin_trap();
  return 0;
}
