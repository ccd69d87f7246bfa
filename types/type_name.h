// The Russian descriptive names of types ("натуральное число",
// "последовательность рациональных чисел", "множество, возможно пустое" ...).
#pragma once

#include <string>

#include "types/type.h"

namespace lemmix {

class IMessages;

// A type the names do not know yields "" and, when `report` is given, its message.
std::string TypeName(const TType& t, IMessages* report);

// A functional type of one natural argument without restrictions.
bool IsNaturalSequence(const TType& t);

}  // namespace lemmix
