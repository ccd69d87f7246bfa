// Arbitrary bytes as the lines of a transformation script, run as a test part
// and as an execution part on a small proof field: no crash, no hang, and a
// test part never changes the field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/typing.h"
#include "fuzz_context.h"
#include "notation/output.h"
#include "notation/parser.h"
#include "proofrun/assot.h"
#include "prover/kernel.h"
#include "shell/files.h"

namespace {

using namespace lemmix;

std::unique_ptr<TKernel> Field() {
  auto k = std::make_unique<TKernel>();
  k->AddObject(std::make_shared<TVar>(TVar{{'x', -1}, Ctx().TypesProccess->FindType("rT", false)}), false);
  for (const auto& [text, proving] : {std::pair{"x > 0", false}, std::pair{"x = [ x ] + 1", false},
                                      std::pair{"x \\ge 1", true}, std::pair{"x + 1 > x", true}}) {
    TExprPtr e = TextToTree(text);
    if (!e || !VarsInput(*e, k->GivenObjects, k->RequiredObjects, false) || ExprType(*e, false) == nullptr)
      __builtin_trap();
    if (!(proving ? k->AddProvingCond(*e) : k->AddGivenCond(*e))) __builtin_trap();
  }
  return k;
}

std::string Print(const TKernel& k) {
  std::string text;
  for (const TCondList* conds : {&k.GivenConds, &k.ProvingConds})
    for (const TCondPtr& c : *conds) text += TreeToText(*c->Expr, false, false).value_or("?") + ";";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TSession& context = fuzzing::Context();
  const TContextScope scope(context);
  TAssotProccess assot(*context.StFunc, context.Messages);
  TAssot script;
  script.Name = "fuzz";
  script.Test = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  script.Execute = script.Test;
  const auto field = Field();
  const std::string before = Print(*field);
  for (const TSection section : {TSection::GivenConds, TSection::ProvingConds}) {
    assot.TestAssot(script, *field, section, 0);
    if (Print(*field) != before) __builtin_trap();  // a test part reads only
  }
  for (const TSection section : {TSection::GivenConds, TSection::ProvingConds}) {
    const auto copy = Field();
    assot.ExecuteAssot(script, *copy, section, 1);
    Print(*copy);
  }
  return 0;
}
