// The descriptive names of types, in Russian ("натуральное число",
// "последовательность рациональных чисел", "множество, возможно пустое" ...)
// and their English twins for the English texts of messages.
#pragma once

#include <string>

#include "types/type.h"

namespace lemmix {

class IMessages;

// A type the names do not know yields "" and, when `report` is given, its message.
std::string TypeName(const TType& t, IMessages* report);
std::string EnglishTypeName(const TType& t, IMessages* report);

// A functional type of one natural argument without restrictions.
bool IsNaturalSequence(const TType& t);

}  // namespace lemmix
