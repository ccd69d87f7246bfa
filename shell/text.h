// Small string helpers over cp1251 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lemmix {

// Removes leading and trailing characters up to the blank (control characters included).
std::string_view Trim(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);

// A decimal integer with optional leading blanks and sign, nothing after it;
// nullopt when the text is not such a number or does not fit an int.
std::optional<int> ParseInt(std::string_view text);

}  // namespace lemmix
