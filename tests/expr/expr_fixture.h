// A context with the shipped catalogues, and short builders of expressions.
#pragma once

#include <gtest/gtest.h>

#include "expr/expr.h"
#include "intrinsics/st_func.h"
#include "session/session.h"
#include "shell/context.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace lemmix::testing {

class ExprTest : public ::testing::Test {
 protected:
  // The catalogues load here, so that members of derived fixtures can use them.
  ExprTest() : context(messages, messages), scope(context) {
    loaded = context.NewTypes().Load(LEMMIX_DATA_DIR) && context.NewStFunc().LoadIntrinsics(LEMMIX_DATA_DIR);
  }

  void SetUp() override { ASSERT_TRUE(loaded); }

  TType* T(const char* id) { return context.TypesProccess->FindType(id, false); }
  TIntr& F(int number) { return *context.StFunc->Intr(number); }

  TExprPtr I(int number, const char* type = nullptr) {
    TExprPtr e = TExpr::OfIntr(F(number));
    if (type) e->Type = T(type);
    return e;
  }
  TExprPtr N(std::int32_t n) { return TExpr::Number(TNumber(n)); }
  TVarPtr Var(char letter, int index = -1, const char* type = "rT") {
    return std::make_shared<TVar>(TVar{{static_cast<std::int8_t>(letter), index}, type ? T(type) : nullptr});
  }
  // A variable node that owns its variable.
  TExprPtr V(char letter, int index = -1, const char* type = "rT") {
    TExprPtr e = TExpr::NodefVar(Var(letter, index, type));
    e->Type = type ? T(type) : nullptr;
    return e;
  }
  TExprPtr Loc(const TVarPtr& v) {
    TExprPtr e = TExpr::VarRef(TClass::LocVar, *v);
    e->Type = v->Type;
    return e;
  }
  TExprPtr Par(int index, const char* type = "rT") {
    TExprPtr e = TExpr::Par(TClass::TemplPar, index);
    e->Type = type ? T(type) : nullptr;
    return e;
  }
  template <typename... Args>
  TExprPtr C(TExprPtr head, Args... args) {
    TExprList children;
    children.push_back(std::move(head));
    (children.push_back(std::move(args)), ...);
    return TExpr::Compound(std::move(children));
  }
  // head(args) with a typed intrinsic head.
  template <typename... Args>
  TExprPtr Op(int number, const char* headType, Args... args) {
    return C(I(number, headType), std::move(args)...);
  }

  RecordingMessages messages;
  TSession context;
  TContextScope scope;
  bool loaded = false;
};

}  // namespace lemmix::testing
