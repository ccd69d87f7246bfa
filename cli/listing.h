// Listings of the intrinsic function catalogue for the command line and the
// documentation.
#pragma once

#include <string>

namespace lemmix {

class TStFunc;

enum class ListingFormat { Text, Markdown };

// Every function: number, word, form, priority, fixity, n-ary, types, key, palette place.
std::string IntrinsicsListing(const TStFunc& stFunc, ListingFormat format);

// The keys of the formula editor for users, as Markdown.
std::string KeyboardListing(const TStFunc& stFunc);

}  // namespace lemmix
