#include "prover/kernel.h"

#include <algorithm>

#include "expr/arithm.h"
#include "expr/typing.h"
#include "intrinsics/intr_numbers.h"

namespace lemmix {

namespace {

// At the position, or at the end when the position is outside the list.
void InsertAt(TCondList& list, TCondPtr cond, int position) {
  if (position < 0 || position >= static_cast<int>(list.size()))
    list.push_back(std::move(cond));
  else
    list.insert(list.begin() + position, std::move(cond));
}


int Find(const TCondList& section, const TExpr& e) {
  for (std::size_t i = 0; i < section.size(); ++i)
    if (section[i]->Expr && Equal(*section[i]->Expr, e)) return static_cast<int>(i);
  return -1;
}

bool NameTaken(const TVarList& objects, const TVarName& name) {
  return std::any_of(objects.begin(), objects.end(), [&](const TVarPtr& v) { return v->Name == name; });
}

}  // namespace

std::unique_ptr<TKernel> TKernel::Copy(TCopyParts parts) const {
  auto copy = std::make_unique<TKernel>();
  copy->Proved = Proved;
  copy->ByContradiction = ByContradiction;
  copy->SearchMode = SearchMode;
  copy->Level = Level;
  copy->Root = Root;
  copy->Tag = Tag;
  copy->GivenObjects = GivenObjects;
  copy->GivenConds = CopyConds(GivenConds);
  if (parts.Goal) {
    copy->RequiredObjects = RequiredObjects;
    copy->ProvingConds = CopyConds(ProvingConds);
  }
  if (parts.Pending) {
    copy->Pending = CopyConds(Pending);
    copy->PendingKind = PendingKind;
  }
  if (Postponed) copy->Postponed = parts.Postponed ? CopyConds(*Postponed) : TCondList{};
  return copy;
}

TCondPtr TKernel::MakeCond(const TExpr& e) const {
  std::vector<std::unique_ptr<TAssumeNonzero>> facts;
  for (const TCondPtr& c : GivenConds) {
    const TExpr* g = c->Expr.get();
    if (g == nullptr || g->Class != TClass::Compound || g->Children().size() < 2) continue;
    const TExpr* inner = g->HeadIntrinsic() == kNot ? g->Children()[1].get() : nullptr;
    if (inner && inner->HeadIntrinsic() == kEq && inner->Children().size() == 3 && inner->Children()[2]->Class == TClass::Number &&
        EqualsInt(*inner->Children()[2]->NumberValue(), 0))
      facts.push_back(std::make_unique<TAssumeNonzero>(*inner->Children()[1]));
    if (g->HeadIntrinsic() == kGt && g->Children().size() == 3 && g->Children()[2]->Class == TClass::Number &&
        EqualsInt(*g->Children()[2]->NumberValue(), 0))
      facts.push_back(std::make_unique<TAssumeNonzero>(*g->Children()[1]));
  }
  return TCond::FromExpr(e);
}

bool TKernel::AddGivenCond(const TExpr& e, int position) {
  TCondPtr cond = MakeCond(e);
  if (!cond) return false;
  InsertAt(GivenConds, std::move(cond), position);
  return true;
}

bool TKernel::AddProvingCond(const TExpr& e, int position) {
  TCondPtr cond = MakeCond(e);
  if (!cond) return false;
  InsertAt(ProvingConds, std::move(cond), position);
  return true;
}
int TKernel::FindGivenCond(const TExpr& e) const { return Find(GivenConds, e); }
int TKernel::FindProvingCond(const TExpr& e) const { return Find(ProvingConds, e); }

TVar& TKernel::AddObject(TVarPtr v, bool required) {
  while (NameTaken(GivenObjects, v->Name) || NameTaken(RequiredObjects, v->Name)) ++v->Name.Index;
  owned_.push_back(v);
  Objects(required).push_back(v);
  return *v;
}

bool TKernel::RemoveObject(const TVar& v, bool required) {
  TVarList& objects = Objects(required);
  const auto at = std::find_if(objects.begin(), objects.end(), [&](const TVarPtr& o) { return o.get() == &v; });
  if (at == objects.end()) return false;
  objects.erase(at);
  return true;
}

bool TKernel::Owns(const TVar& v) const {
  return std::any_of(owned_.begin(), owned_.end(), [&](const TVarPtr& o) { return o.get() == &v; });
}

int TKernel::SectionOf(const TVar& v) const {
  const auto in = [&](const TVarList& objects) {
    return std::any_of(objects.begin(), objects.end(), [&](const TVarPtr& o) { return o.get() == &v; });
  };
  return in(GivenObjects) ? 1 : in(RequiredObjects) ? 2 : 0;
}

namespace {

void RepointIn(TExpr& e, const TVar& from, TVar& to, TClass as) {
  if ((e.Class == TClass::DataVar || e.Class == TClass::ProveVar) && e.Var() == &from) {
    e.Class = as;
    e.Data = &to;
    e.Type = to.Type;
  }
  if (e.Class == TClass::Compound)
    for (TExprPtr& child : e.Children()) RepointIn(*child, from, to, as);
}

void RepointAll(TCondList& conds, const TVar& from, TVar& to, TClass as) {
  for (TCondPtr& c : conds)
    if (c->Expr) RepointIn(*c->Expr, from, to, as);
}

// Types again every compound above a changed reference.
void Retyped(TCondList& conds) {
  for (TCondPtr& c : conds)
    if (c->Expr) Retype(*c->Expr, false);
}

}  // namespace

void TKernel::Repoint(const TVar& from, TVar& to, TClass as) {
  RepointAll(GivenConds, from, to, as);
  RepointAll(ProvingConds, from, to, as);
  RepointAll(Pending, from, to, as);
  if (Postponed) RepointAll(*Postponed, from, to, as);
  if (from.Type != to.Type) {
    Retyped(GivenConds);
    Retyped(ProvingConds);
  }
}

TVar& TKernel::ChangeObjectType(const TVar& v, TType* type) { return Replace(v, v.Name, type); }

TVar& TKernel::RenameObject(const TVar& v, TVarName name) { return Replace(v, name, v.Type); }

TVar& TKernel::Replace(const TVar& v, TVarName name, TType* type) {
  const int section = SectionOf(v);
  auto changed = std::make_shared<TVar>(TVar{name, type});
  owned_.push_back(changed);
  TVarList& objects = Objects(section == 2);
  for (TVarPtr& o : objects)
    if (o.get() == &v) o = changed;
  Repoint(v, *changed, section == 2 ? TClass::ProveVar : TClass::DataVar);
  return *changed;
}

void TKernel::MakeGiven(const TVar& v) {
  const auto at = std::find_if(RequiredObjects.begin(), RequiredObjects.end(), [&](const TVarPtr& o) { return o.get() == &v; });
  if (at == RequiredObjects.end()) return;
  TVarPtr object = *at;
  RequiredObjects.erase(at);
  GivenObjects.push_back(object);
  Repoint(v, *object, TClass::DataVar);
}

void TKernel::RecordPending(TExprPtr e, int position) {
  InsertAt(Pending, TCond::Record(std::move(e)), position);
}

void TKernel::ClearPending() {
  Pending.clear();
  PendingKind = 0;
}

}  // namespace lemmix
