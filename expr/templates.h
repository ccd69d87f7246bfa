// Templates: expressions whose template parameters stand for arguments.
#pragma once

#include <memory>
#include <vector>

namespace lemmix {

class TExpr;
class TType;
struct TVar;
using TExprPtr = std::unique_ptr<TExpr>;

// The functional type of a template body: its parameters' types (parameter 0,
// 1, ... in turn) to the body's type; the body's type when it has no
// parameters; null when the body cannot be typed or a parameter is untyped.
TType* TemplateType(const TExpr& body);

// The lambda form of a template: intrinsic 16 binding x, x1, ... for the
// parameters the body uses, over a copy of the body; a copy of the body when
// it uses none; null on failure.
TExprPtr TemplateToLambda(const TExpr& templ);
// Turns template parameter i into a local variable node of variables[i].
bool LambdaTemplate_to_Expr1(TExpr& node, std::vector<TVar*>& variables);
// Replaces the pattern by the template: where e is the pattern, by its lambda
// form; where the pattern is applied, by the template applied to the arguments.
bool SubstituteLambda(TExpr& e, const TExpr& pattern, const TExpr& templ);

}  // namespace lemmix
