// The proof task of a definition: that each of its single definitions is
// correct (what it defines is defined where it claims, and an implicitly
// defined value exists and is unique) and that it agrees with every earlier
// definition of the same notion and with itself.
#pragma once

#include <string>
#include <vector>

#include "prover/task.h"

namespace lemmix {

struct TIntr;

// The notion of a defined-notion field ("\46(SupT)" or "\sup(SupT)"); null
// after its message when there is none.
const TIntr* NotionOfField(const std::string& field);

// The correctness task of a definition with the given formulation, notion
// field, and the formulations of the earlier definitions of the same notion.
TTask CorrectnessTask(const std::string& formulation, const std::string& notionField,
                      const std::vector<std::string>& earlier);

}  // namespace lemmix
