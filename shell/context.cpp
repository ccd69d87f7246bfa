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

void InheritRun(TContext& context, const TContext& from) {
  context.Dir = from.Dir;
  context.BookPath = from.BookPath;
  context.StartupOk = from.StartupOk;
  context.DemoRunning = from.DemoRunning;
  context.DeveloperMode = from.DeveloperMode;
  context.Commenting = from.Commenting;
  context.Info = from.Info;
  context.Settings = from.Settings;
  context.TypesProccess = from.TypesProccess;
  context.StFunc = from.StFunc;
}

TContextScope::TContextScope(TContext& context) : previous_(current) { current = &context; }

TContextScope::~TContextScope() { current = previous_; }

}  // namespace lemmix
