// Arbitrary bytes as stored text of a formula: read, parsed, declared and
// typed, and when that succeeds written back, which must read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_context.h"
#include "notation/output.h"
#include "notation/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  TSession& context = fuzzing::Context();
  const TContextScope scope(context);
  TExprPtr tree = TextToTree(std::string_view(reinterpret_cast<const char*>(data), size));
  TVarList given;
  if (!tree || !DeclareVariables(*tree, given, true)) return 0;
  const std::optional<std::string> text = TreeToText(*tree, true, false);
  if (!text) __builtin_trap();  // a parsed, typed tree must print
  TExprPtr again = TextToTree(*text);
  if (!again) __builtin_trap();  // and what it prints must read again
  TreeToLetters(*tree);
  return 0;
}
