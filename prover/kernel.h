// The proof field: the state of one proof task, what is given, what must be
// found and what must be proved, in four sections.
#pragma once

#include <optional>
#include <string>

#include "expr/expr.h"
#include "prover/cond.h"

namespace lemmix {

// The sections in their internal numbering, which protocols, scripts and
// messages use.
enum class TSection : int { GivenObjects = 1, RequiredObjects = 2, GivenConds = 3, ProvingConds = 4 };

class TKernel {
 public:
  // What a copy takes besides sections 1 and 3.
  struct TCopyParts {
    bool Pending = false;    // the pending subproof
    bool Postponed = false;  // the postponed disjunctions of the terminal test
    bool Goal = false;       // sections 2 and 4
  };

  // Closed: the owner ends this (sub)proof as successful.
  bool Proved = false;
  // While set, an empty section 4 does not close the task; a contradiction does.
  bool ByContradiction = false;
  // 0 the user's proof field, 1 a copy running an automatic completion, 2 a
  // copy inside the terminal test.
  int SearchMode = 0;
  int Level = 0;             // depth of subproofs
  TVarList GivenObjects;     // section 1
  TVarList RequiredObjects;  // section 2
  TCondList GivenConds;      // section 3
  TCondList ProvingConds;    // section 4
  // The subproof the last user action has opened: its kind (0 none) and records.
  TCondList Pending;
  int PendingKind = 0;
  // Only in kernels of the terminal test: disjunctions split into cases later.
  std::optional<TCondList> Postponed;
  std::string Tag;
  int Root = 0;  // 1 for the task of a statement or a subproof, and their copies

  // A copy shares the objects of sections 1 and 2 and copies the conditions;
  // it owns no variable of its own yet.
  std::unique_ptr<TKernel> Copy(TCopyParts parts) const;

  // The formula as a condition of this kernel: standardised with what its
  // given conditions say is not 0 (t ≠ 0, t > 0). Null when refused.
  TCondPtr MakeCond(const TExpr& e) const;
  // The formula as a condition inserted at `position` (appended when the
  // position is outside the section); false when it gives no condition.
  bool AddGivenCond(const TExpr& e, int position = -1);
  bool AddProvingCond(const TExpr& e, int position = -1);
  // The position of the first condition equal to the formula; -1 when none.
  int FindGivenCond(const TExpr& e) const;
  int FindProvingCond(const TExpr& e) const;

  // Appends the object to section 1 or 2 under a name free in both (its index
  // raised while taken) and records it as the kernel's own.
  TVar& AddObject(TVarPtr v, bool required);
  // Takes the object out of its section; false when it is not there.
  bool RemoveObject(const TVar& v, bool required);
  // Whether the kernel created the object (a copy shares its source's).
  bool Owns(const TVar& v) const;

  // Which section holds the object: 1 given, 2 required, 0 neither.
  int SectionOf(const TVar& v) const;
  // The object of the same name in a new type: a new object owned by this
  // kernel, standing in the old one's place in its section, and every
  // reference of this kernel's conditions pointed to it. A copy, a case or an
  // undone step never changes an object it shares with its source.
  TVar& ChangeObjectType(const TVar& v, TType* type);
  // The same for a new name (the new object takes the old one's place).
  TVar& RenameObject(const TVar& v, TVarName name);
  // Moves a required object to the given ones (its references too).
  void MakeGiven(const TVar& v);
  // Points every reference to `from` in this kernel's conditions to `to`, as
  // a reference of class `as` (DataVar or ProveVar).
  void Repoint(const TVar& from, TVar& to, TClass as);

  // Records a pending-subproof expression (an empty slot for null) at the
  // position, or at the end when the position is outside the list.
  void RecordPending(TExprPtr e, int position = -1);
  void ClearPending();

  TVarList& Objects(bool required) { return required ? RequiredObjects : GivenObjects; }
  TCondList& Conds(TSection section) { return section == TSection::ProvingConds ? ProvingConds : GivenConds; }

 private:
  TVar& Replace(const TVar& v, TVarName name, TType* type);

  // The variables this kernel created. They live as long as the kernel, so a
  // condition that still refers to a removed object never dangles.
  TVarList owned_;
};

}  // namespace lemmix
