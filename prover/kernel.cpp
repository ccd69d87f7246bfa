#include "prover/kernel.h"

#include <algorithm>

namespace lemmix {

namespace {

// At the position, or at the end when the position is outside the list.
void InsertAt(TCondList& list, TCondPtr cond, int position) {
  if (position < 0 || position >= static_cast<int>(list.size()))
    list.push_back(std::move(cond));
  else
    list.insert(list.begin() + position, std::move(cond));
}

bool Insert(TCondList& section, const TExpr& e, int position) {
  TCondPtr cond = TCond::FromExpr(e);
  if (!cond) return false;
  InsertAt(section, std::move(cond), position);
  return true;
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

bool TKernel::AddGivenCond(const TExpr& e, int position) { return Insert(GivenConds, e, position); }
bool TKernel::AddProvingCond(const TExpr& e, int position) { return Insert(ProvingConds, e, position); }
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

void TKernel::RecordPending(TExprPtr e, int position) {
  InsertAt(Pending, TCond::Record(std::move(e)), position);
}

void TKernel::ClearPending() {
  Pending.clear();
  PendingKind = 0;
}

}  // namespace lemmix
