#include "book/defined_notion.h"

#include <algorithm>
#include <charconv>

#include "notation/parser.h"
#include "shell/context.h"
#include "intrinsics/st_func.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "types/type.h"

namespace lemmix {

TIntr* DefinedNotionFunction(std::string_view field) {
  field = Trim(field);
  const std::size_t bracket = field.find('(');
  const std::string_view before = Trim(field.substr(0, bracket));
  if (before.size() > 1 && before.front() == '\\') {
    int number = -1;
    const std::string_view digits = before.substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc{} && end == digits.data() + digits.size())
      if (TIntr* f = Ctx().StFunc->Intr(number)) return f;
  }
  return before.empty() ? nullptr : Ctx().StFunc->FindByWord(before, false);
}

namespace {

void CollectTypes(const TExpr& e, const TIntr& function, std::set<const TType*>& types) {
  if (e.Class == TClass::Intr && e.Intrinsic() == &function && e.Type) types.insert(e.Type);
  if (e.Class == TClass::Compound)
    for (const TExprPtr& child : e.Children()) CollectTypes(*child, function, types);
}

}  // namespace

std::set<const TType*> TypesOfUses(const TExpr& formula, const TIntr& function) {
  std::set<const TType*> types;
  CollectTypes(formula, function, types);
  return types;
}

std::optional<std::string> DefinedNotionField(const TIntr& notion, std::string_view formula) {
  const auto fail = [] {
    Ctx().Messages.Error({"Ошибка при определении типов аргументов определяемого понятия."_cp,
                          "Error in argument types of the defined notion."});
    return std::nullopt;
  };
  const TReadFormula read = ReadFormula(formula);
  if (!read.Tree) return fail();
  const std::set<const TType*> used = TypesOfUses(*read.Tree, notion);
  std::string types;
  for (const TConcreteType& concrete : notion.ConcreteTypes) {
    if (!used.contains(concrete.Type)) continue;
    types += (types.empty() ? "" : ",") + concrete.Type->Name;
  }
  if (types.empty()) return fail();
  return "\\" + std::to_string(notion.Number) + "(" + types + ")";
}

}  // namespace lemmix
