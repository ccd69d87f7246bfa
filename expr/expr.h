// The expression tree: every formula of the system is a tree of TExpr nodes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "expr/number.h"

namespace lemmix {

class TType;
struct TIntr;
struct TAntIntr;

// Node classes, with their codes and storage names.
enum class TClass : std::uint8_t {
  NoClass = 0,   // "no_class": empty node
  Intr = 1,      // "intr": a function symbol, predicate or constant
  Number = 2,    // "number"
  String = 3,    // "string": free text
  NodefVar = 4,  // "nodef_var": a variable not yet linked to a declaration
  DataVar = 5,   // "data_var": a given object of the proof
  ProveVar = 6,  // "prove_var": a required object of the proof
  LocVar = 7,    // "loc_var": bound by an enclosing compound
  MathPar = 8,   // "math_par": a numbered parameter
  TemplPar = 9,  // "templ_par": a pattern variable, its index from 0
  Compound = 10, // "compound": child 0 the head, then the arguments
  Templ = 11,    // "templ": a template, a lambda in pattern form
  AntIntr = 12,  // "ant_intr": the negation form of an intrinsic function
};

const char* ClassName(TClass c);
// NoClass for a word that names no class.
TClass ClassFromName(std::string_view name);

// A variable's name: a letter code (1..26 capital, 33..58 small Greek letters,
// otherwise the Latin letter itself) and an index (-1: none).
struct TVarName {
  std::int8_t Letter = 0;
  int Index = -1;
  bool operator==(const TVarName&) const = default;
};

struct TVar {
  TVarName Name;
  TType* Type = nullptr;
};

using TVarPtr = std::shared_ptr<TVar>;
using TVarList = std::vector<TVarPtr>;

class TExpr;
using TExprPtr = std::unique_ptr<TExpr>;
using TExprList = std::vector<TExprPtr>;

// The number of a compound's head intrinsic when it has none.
inline constexpr int kNoHead = 255;

class TExpr {
 public:
  // By class: Intr TIntr*; Number TNumber; String text; NodefVar its own
  // variable; Data/Prove/LocVar the variable it refers to; Math/TemplPar the
  // integer; Compound the children; Templ the inner expression; AntIntr TAntIntr*.
  using Payload = std::variant<std::monostate, TIntr*, TNumber, std::string, TVarPtr, TVar*, int, TExprList, TExprPtr,
                               TAntIntr*>;

  TClass Class = TClass::NoClass;
  Payload Data;
  std::optional<TVarList> Bound;  // only compounds bind; the list owns its variables
  TType* Type = nullptr;

  static TExprPtr Empty();
  // The number's node, typed by its value (nT, n0T, zT, qT, rT) when a
  // context with a type catalogue is current.
  static TExprPtr Number(const TNumber& n);
  static TExprPtr OfIntr(TIntr& f);
  static TExprPtr OfAntIntr(TAntIntr& a);
  static TExprPtr String(std::string text);
  static TExprPtr NodefVar(TVarPtr v);
  static TExprPtr VarRef(TClass c, TVar& v);  // DataVar, ProveVar or LocVar
  static TExprPtr Par(TClass c, int n);       // MathPar or TemplPar
  static TExprPtr Compound(TExprList children);
  static TExprPtr Templ(TExprPtr inner);

  TIntr* Intrinsic() const;
  TAntIntr* Antonym() const;
  const TNumber* NumberValue() const;
  const std::string* Text() const;
  // The variable of a variable node, whichever class.
  TVar* Var() const;
  int ParIndex() const;
  TExprList& Children();
  const TExprList& Children() const;
  TExpr* Inner() const;  // of a template

  bool IsVar() const { return Class >= TClass::NodefVar && Class <= TClass::LocVar; }
  // The number of the head intrinsic of a compound; kNoHead otherwise.
  int HeadIntrinsic() const;
  TExpr* Head() const;
  bool IsIntr(int number) const;
  // The word of the head intrinsic; empty when there is none.
  std::string HeadWord() const;
};

// The compound head(args) of the intrinsic function numbered `head` of the
// current catalogue, untyped.
TExprPtr ApplyIntr(int head, TExprList args);
TExprPtr ApplyIntr(int head, TExprPtr a);
TExprPtr ApplyIntr(int head, TExprPtr a, TExprPtr b);

// Copies: the shallow copy shares variables and catalogue entries and copies
// numbers, texts and children (templates deeply); the deep copy gives every
// bound list fresh variables and re-points the local variable nodes to them,
// and with `ownUndeclared` also gives every nodef_var node a fresh variable.
TExprPtr ShallowCopy(const TExpr& e);
TExprPtr DeepCopy(const TExpr& e, bool ownUndeclared = false);
TExprList DeepCopyList(const TExprList& list);

// Queries.
TExpr* ArgByPath(TExpr& e, unsigned path);
int Size(const TExpr& e);
// The operands of an associative operator n, flattened; e itself otherwise.
std::vector<const TExpr*> Operands(const TExpr& e, int n);
TExprList ArgumentsOf(const TExpr& e, int n);
// "nT" for I, J, K, N and i..n, "rT" for every other letter.
const char* DefaultTypeOfLetter(std::int8_t letter);
bool ContainsClass(const TExpr& e, TClass c);
bool ContainsPayload(const TExpr& e, TClass c, const void* payload);
bool ContainsExpr(const TExpr& e, const TExpr& sub);
std::vector<const TExpr*> CollectClass(const TExpr& e, TClass c);
std::vector<TVar*> CollectVariables(const TExpr& e, TClass c);  // distinct, in order of meeting
std::vector<TVar*> CollectBound(const TExpr& e);

// Order, equality and matching.
struct TBindingLists {
  std::vector<const TVar*> A;  // variables bound so far in a and in b, in step
  std::vector<const TVar*> B;
};
// One expression per template parameter index (absent: unbound).
using TBinding = std::vector<std::shared_ptr<const TExpr>>;
using TPatternBindings = std::vector<TBinding>;

// The total order of expressions, -1, 0 or 1; 0 is equality or a match of the
// pattern b. `lists` compares bound variables by position (alpha-equivalence);
// `patterns` collects the alternative bindings of template parameters.
int Comp(const TExpr& a, const TExpr& b, TBindingLists* lists = nullptr, TPatternBindings* patterns = nullptr);
bool Equal(const TExpr& a, const TExpr& b);

// Transformations.
void ReplaceBy(TExpr& node, TExprPtr other);
void ReplaceByCopy(TExpr& node, const TExpr& other);
// A copy of e with every subexpression equal to the pattern replaced by a
// copy of the replacement (bound variables renamed apart first).
TExprPtr Substitute(const TExpr& e, const TExpr& pattern, const TExpr& replacement);
// Replaces template parameters by the listed expressions (absent: kept).
bool SubstituteTemplParam(TExpr& e, const std::vector<const TExpr*>& values);
// Gives bound variables of e that clash with the bound names of the listed
// expressions fresh indices.
void RenameApart(TExpr& e, const std::vector<const TExpr*>& others);
// Links variable nodes to their binders and to the given and required variables.
bool VarsInput(TExpr& e, const TVarList& given, const TVarList& required, bool allowUndeclared);
bool Concat(TExprList* target, const TExprList* source);

// The storage form "(T,V,C,P)".
std::string ToString(const TExpr& e);
TExprPtr FromString(std::string_view text, TVarList* scope);
std::string NameText(const TVarName& name);
std::string VarToString(const TVar& v);
TVarPtr VarFromString(std::string_view text);
std::optional<TVarName> NameFromString(std::string_view text, bool report);

}  // namespace lemmix
