// Defining objects: a new given object (or function) by a formula, a value
// for a required object, an object defined by cases, and sequences defined
// recursively. Each prepares, records its pending subproof and returns the
// obligations; the completion adds what was defined.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prover/actions.h"

namespace lemmix {

// x = E, x ∈ A, or f(x1 … xn) = E with arguments written x or x ∈ A. A name
// of a required object defines that object (kind 1), any other new name a
// given object (kind 2).
TObligations PrepareDefine(TKernel& kernel, std::string_view text);

// Values and conditions alternating ("x = E1", "C1", "x = E2", "C2", …, the
// last value may stand alone): the first condition that holds picks the
// value. Kinds 12 (a required object) and 13 (a given one).
TObligations PrepareDefineByCases(TKernel& kernel, const std::vector<std::string>& lines);

// The completions. For a given object: it joins section 1 and its defining
// condition section 3. For a required object: added as a given object with
// its defining condition, or (an equality only) its value substituted in
// every proving condition. Then the tests.
bool CompleteDefineGiven(TKernel& kernel);
bool CompleteDefineRequired(TKernel& kernel, bool substitute);
// Whether the pending definition of a required object may substitute its value.
bool CanSubstitute(const TKernel& kernel);

// Recursive definition of sequences. The names line records the new
// sequences (kind 14); then, for each, its first element and its step are
// entered as definitions by cases ("a_1 = …", "a_(i+1) = …").
bool PrepareRecursive(TKernel& kernel, std::string_view names);
struct TRecursiveInput {
  bool Step = false;    // the (i+1)-th element; else the first
  std::size_t Sequence = 0;
  std::string Name;     // of the sequence
};
// What is to be entered next; none when everything is.
std::optional<TRecursiveInput> NextRecursiveInput(const TKernel& kernel);
// Checks and records one definition of the next input; false (nothing
// recorded, after its message) when refused.
bool AddRecursiveDefinition(TKernel& kernel, const std::vector<std::string>& lines);
// The sequences join section 1, of the widest element type any value needs,
// with their first elements and steps as given conditions; then the tests.
bool CompleteRecursive(TKernel& kernel);
// Forgets a recursive definition under way.
void AbortRecursive(TKernel& kernel);

}  // namespace lemmix
