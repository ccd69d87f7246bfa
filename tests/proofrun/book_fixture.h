// The bundled book and its associated transformations, loaded for tests that
// prove, replay or tell the book's statements.
#pragma once

#include "../expr/expr_fixture.h"
#include "book/part.h"
#include "proofrun/assot.h"
#include "shell/files.h"

namespace lemmix::testing {

class BookTest : public ExprTest {
 protected:
  void SetUp() override {
    ExprTest::SetUp();
    context.StartupOk = true;
    context.BookPath = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
    book.Path = context.BookPath;
    book.Load();
    ASSERT_TRUE(assot.LoadAssot(SystemPath(LEMMIX_DATA_DIR).value()));
  }

  TBook book;
  TAssotProccess assot{*context.StFunc, messages};
};

}  // namespace lemmix::testing
