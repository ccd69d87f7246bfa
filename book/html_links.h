// Links of the textbook's HTML pages that are commands of the system:
// "...BOOK" + "logi" | "prove" | "demo" + the statement's path in the book.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "book/part.h"

namespace lemmix {

enum class THtmlCommandKind { Logi, Prove, Demo };

struct THtmlCommand {
  THtmlCommandKind Kind;
  std::string Path;  // relative to the book, starting with a separator
};

// A command link: "BOOK" (any case), at most one separator, a command word
// and the statement's path ("BOOK/logi/3/2/4", "BOOKprove\\0\\1\\1").
bool IsCommandLink(std::string_view address);
// The command of a link; nothing when it is none.
std::optional<THtmlCommand> ParseCommandLink(std::string_view address);
// The statement at a path relative to the book ("\0\1\2" or "/0/1/2"); deleted nodes do not count.
TStatement* FindStatementByPath(const TBook& book, std::string_view relative);
// The part of a page's address the contents follow when the page is closed:
// after "BOOK" and its separator, without the "#" anchor; nothing without "BOOK".
std::optional<std::string> PageKey(std::string_view location);
// A path or address as messages show it: "\" shown as "/".
std::string WithSlashes(std::string text);

}  // namespace lemmix
