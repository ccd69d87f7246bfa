// The shipped catalogues and typed formulas of the stored text, kept with the
// free variables they refer to for the whole test.
#pragma once

#include <deque>

#include "../expr/expr_fixture.h"
#include "expr/typing.h"
#include "notation/parser.h"
#include "prover/kernel.h"

namespace lemmix::testing {

class ProverTest : public ExprTest {
 protected:
  TExprPtr Formula(const char* text) {
    TReadFormula read = ReadFormula(text);
    if (!read.Tree) ADD_FAILURE() << text;
    free_.push_back(std::move(read.Free));
    return std::move(read.Tree);
  }

  // A formula whose names are the objects of the kernel, typed.
  TExprPtr KernelFormula(const TKernel& kernel, const std::string& text) {
    TExprPtr tree = TextToTree(text);
    if (!tree || !VarsInput(*tree, kernel.GivenObjects, kernel.RequiredObjects, false) ||
        ExprType(*tree, true) == nullptr) {
      ADD_FAILURE() << text;
      return nullptr;
    }
    return tree;
  }

 private:
  std::deque<TVarList> free_;
};

}  // namespace lemmix::testing
