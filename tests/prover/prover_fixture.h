// The shipped catalogues and typed formulas of the stored text, kept with the
// free variables they refer to for the whole test.
#pragma once

#include <deque>

#include "../expr/expr_fixture.h"
#include "notation/parser.h"

namespace lemmix::testing {

class ProverTest : public ExprTest {
 protected:
  TExprPtr Formula(const char* text) {
    TReadFormula read = ReadFormula(text);
    if (!read.Tree) ADD_FAILURE() << text;
    free_.push_back(std::move(read.Free));
    return std::move(read.Tree);
  }

 private:
  std::deque<TVarList> free_;
};

}  // namespace lemmix::testing
