// Arbitrary letters (byte pairs: code, font) read as a formula, with and
// without the standard font flag.
#include <cstddef>
#include <cstdint>

#include "fuzz_context.h"
#include "notation/output.h"
#include "notation/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  if (size == 0) return 0;
  TSession& context = fuzzing::Context();
  const TContextScope scope(context);
  TLetters letters;
  for (std::size_t i = 1; i + 1 < size; i += 2)
    letters.push_back(TLetter{.Code = data[i], .Font = static_cast<std::uint8_t>(data[i + 1] % 3)});
  const std::optional<TItemList> items = MyLetters_to_ItemL(letters, (data[0] & 1) != 0);
  if (!items) return 0;
  ItemL_to_String(*items, true, false);
  ItemL_to_MyLetters(*items);
  TExprPtr tree = ParseItems(*items);
  TVarList given;
  if (tree && DeclareVariables(*tree, given, false)) TreeToLetters(*tree);
  return 0;
}
