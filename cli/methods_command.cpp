#include "cli/methods_command.h"

#include <cstdio>

#include "book/part.h"
#include "book/search.h"
#include "book/statement_kind.h"
#include "cli/task_command.h"
#include "intrinsics/st_func.h"
#include "proofrun/method_proofs.h"
#include "prover/method.h"
#include "session/session.h"
#include "shell/cp1251.h"

namespace lemmix {
namespace {

const char* TypeWords(int type) {
  switch (type) {
    case kDialogSuperficial: return "dialog superficial";
    case kAutoDeep: return "automatic deep";
    case kAutoSuperficial: return "automatic superficial";
    case kDialogDeep: return "dialog deep";
    default: return "unknown";
  }
}

}  // namespace

int RunMethods(TSession& session, const std::string& path, bool english) {
  TBook book;
  if (!LoadSessionBook(session, book)) return 1;
  const TStatement* limit = nullptr;
  if (path != "book" && path != "book/" && path != "book\\") {
    limit = FindStatement(book, path);
    if (limit == nullptr) {
      std::fprintf(stderr, "no statement at %s\n", path.c_str());
      return 1;
    }
  }
  TMethodProofs proofs;
  const auto proved = [&](const TStatement& s) { return proofs.Proved(book, s, session.AssotProccess.get()); };
  for (const TStatement* s : StatementsBefore(book, limit)) {
    if (s == limit || s->Kind() != kStatementKindWords[kMethodKind]) continue;
    std::string relative = s->Path;
    if (relative.starts_with(session.BookPath)) relative = "book" + relative.substr(session.BookPath.size());
    const TMethod* method = MethodOf(*s);
    std::string word = "?";
    if (method && method->MainFunction >= 0)
      if (const TIntr* f = session.StFunc->Intr(method->MainFunction)) word = f->Name;
    std::printf("%-8s %s  %s  %s  \"%s\"\n", proved(*s) ? "proved" : "unproved", Cp1251ToUtf8(relative).c_str(),
                method ? TypeWords(method->Type) : "unreadable", Cp1251ToUtf8(word).c_str(),
                Cp1251ToUtf8(s->Lines[english ? kEnglishNameLine : kRussianNameLine]).c_str());
  }
  TMethodRegistry registry;
  if (!registry.Build(book, limit, proved)) return 1;
  std::size_t usable = 0;
  for (const int f : registry.Functions())
    for (int type = 0; type < 4; ++type) usable += registry.List(f, type).size();
  std::printf("%zu methods usable here\n", usable);
  return 0;
}

}  // namespace lemmix
