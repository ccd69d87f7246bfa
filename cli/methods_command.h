// lemmix-cli methods: the book's methods that a proof of a statement may use.
#pragma once

#include <string>

namespace lemmix {

class TSession;

// Every method statement before the statement at the path ("book" for the
// whole book): its path, type, the word it rewrites, whether a protocol of
// its own proves it correct, its English name; then the count of methods a
// proof there may use. 0 unless the path names nothing or a method fails to
// register.
int RunMethods(TSession& session, const std::string& path, bool english);

}  // namespace lemmix
