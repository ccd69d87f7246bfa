#include "shell/context.h"

#include <cstdio>
#include <cstdlib>

namespace lemmix {

namespace {
TContext* current = nullptr;
}  // namespace

TContext& Ctx() {
  if (current == nullptr) {
    std::fputs("lemmix: the core was used without a context\n", stderr);
    std::abort();
  }
  return *current;
}

bool HasContext() { return current != nullptr; }

TContextScope::TContextScope(TContext& context) : previous_(current) { current = &context; }

TContextScope::~TContextScope() { current = previous_; }

}  // namespace lemmix
