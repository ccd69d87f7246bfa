// Relations between types: the subtype order.
#pragma once

#include <string_view>

namespace lemmix {

class TType;
class TTypesProccess;

// a is a subtype of b. Identifiers of the simple chain are looked up in the
// catalogue (reporting a missing one). Null b gives false.
bool IsSubtypeOf(const TType* a, const TType* b, const TTypesProccess& types);
bool IsSubtypeOfNamed(const TType* a, std::string_view identifier, const TTypesProccess& types);

}  // namespace lemmix
