// The storage form of expressions "(T,V,C,P)" and of variables "(T,name)".
#include <charconv>

#include "expr/expr.h"
#include "intrinsics/st_func.h"
#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"
#include "types/type.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

void Report(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }

// The written form of a type (a built type by its structure), which ReadType reads back.
std::string TypeText(const TType* t) {
  if (t == nullptr) return "";
  return HasContext() && Ctx().TypesProccess ? Ctx().TypesProccess->Identifier(*t) : t->Name;
}

// The text without one pair of brackets that encloses all of it.
std::string_view StripBrackets(std::string_view text) {
  if (text.size() < 2 || text.front() != '(' || text.back() != ')') return text;
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i + 1 == text.size() ? text.substr(1, text.size() - 2) : text;
  }
  return text;
}

bool BracketsPair(std::string_view text) {
  int depth = 0;
  for (const char c : text) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

// Splits at the commas outside brackets; nothing after an extra ")".
std::optional<std::vector<std::string_view>> SplitTop(std::string_view text) {
  std::vector<std::string_view> parts;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')') {
      if (depth == 0) {
        const std::string rest(text.substr(i));
        Report("Лишняя открывающая скобка в строке "_cp + rest, "Extra left bracket in string " + rest);
        return std::nullopt;
      }
      --depth;
    } else if (text[i] == ',' && depth == 0) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::optional<int> NonNegative(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// A fraction as it is written, "(p/q)"; the number reader takes no fractions.
std::optional<TNumber> FractionFromString(std::string_view text) {
  if (text.size() < 5 || text.back() != ')') return std::nullopt;
  const std::string_view inside = text.substr(1, text.size() - 2);
  const std::size_t slash = inside.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<int> p = ParseInt(inside.substr(0, slash));
  const std::optional<int> q = ParseInt(inside.substr(slash + 1));
  if (!p || !q || *q <= 1) return std::nullopt;
  const std::optional<TNumber> n = TNumber::Fraction(*p, *q);
  if (!n || !n->IsFraction() || n->Rational() != TRational{*p, *q}) return std::nullopt;  // only the normal form
  return n;
}

void AppendStorage(std::string& out, const TExpr& e);

void AppendPayload(std::string& out, const TExpr& e) {
  switch (e.Class) {
    case TClass::NoClass: out += "NULL"; break;
    case TClass::Intr: out += "\\" + std::to_string(e.Intrinsic()->Number); break;
    case TClass::Number: out += NumberToString(*e.NumberValue()); break;
    case TClass::String: out += *e.Text(); break;
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar:
    case TClass::LocVar: out += VarToString(*e.Var()); break;
    case TClass::MathPar:
    case TClass::TemplPar: out += std::to_string(e.ParIndex()); break;
    case TClass::Compound:
      out += '(';
      for (std::size_t i = 0; i < e.Children().size(); ++i) {
        if (i > 0) out += ',';
        AppendStorage(out, *e.Children()[i]);
      }
      out += ')';
      break;
    case TClass::Templ:
      if (e.Inner()) AppendStorage(out, *e.Inner());
      else out += "NULL";
      break;
    default: break;  // an antonym writes nothing and cannot be read back
  }
}

void AppendStorage(std::string& out, const TExpr& e) {
  out += '(';
  out += TypeText(e.Type);
  out += ',';
  if (e.Bound) {
    out += '(';
    for (std::size_t i = 0; i < e.Bound->size(); ++i) {
      if (i > 0) out += ',';
      out += VarToString(*(*e.Bound)[i]);
    }
    out += ')';
  }
  out += ',';
  out += ClassName(e.Class);
  out += ',';
  AppendPayload(out, e);
  out += ')';
}

}  // namespace

std::string NameText(const TVarName& name) {
  const std::vector<std::string>& greek = GreekLetterWords();
  std::string text;
  if (name.Letter >= 1 && name.Letter <= 26)
    text = greek[name.Letter - 1];
  else if (name.Letter >= 33 && name.Letter <= 58)
    text = greek[26 + name.Letter - 33];
  else
    text = std::string(1, static_cast<char>(name.Letter));
  if (name.Index >= 0) text += std::to_string(name.Index);
  return text;
}

std::string VarToString(const TVar& v) { return "(" + TypeText(v.Type) + "," + NameText(v.Name) + ")"; }

std::optional<TVarName> NameFromString(std::string_view text, bool report) {
  if (text.empty() || text == "0") return std::nullopt;
  TVarName name;
  std::string letter;
  if (text.front() == '\\') {
    const std::vector<std::string>& greek = GreekLetterWords();
    std::size_t found = greek.size();
    for (std::size_t i = 0; i < greek.size() && found == greek.size(); ++i)
      if (StartsWith(text, greek[i])) found = i;
    if (found == greek.size()) return std::nullopt;
    letter = greek[found];
    name.Letter = static_cast<std::int8_t>(found < 26 ? found + 1 : found - 26 + 33);
  } else if (std::isalpha(static_cast<unsigned char>(text.front())) && static_cast<unsigned char>(text.front()) < 128) {
    letter = std::string(1, text.front());
    name.Letter = static_cast<std::int8_t>(text.front());
  } else {
    return std::nullopt;
  }
  const std::string_view rest = text.substr(letter.size());
  if (rest.empty()) {
    if (letter == "\\pi") return std::nullopt;  // the number pi
    return name;
  }
  const std::optional<int> index = NonNegative(rest);
  if (!index || rest.front() == '+') {
    if (report)
      Report("После имени переменной "_cp + letter + "\\n встретился неверный индекс "_cp + std::string(rest),
             "After variable name " + letter + "\\n it is occured invalid index: " + std::string(rest));
    return std::nullopt;
  }
  name.Index = *index;
  return name;
}

TVarPtr VarFromString(std::string_view text) {
  const auto parts = SplitTop(StripBrackets(text));
  if (!parts) return nullptr;
  if (parts->size() != 2) {
    Report("Неверный формат переменной "_cp + std::string(text), "Invalid format of variable " + std::string(text));
    return nullptr;
  }
  const std::optional<TVarName> name = NameFromString((*parts)[1], true);
  if (!name) return nullptr;
  auto v = std::make_shared<TVar>(TVar{*name, nullptr});
  // A variable written without a type reads back without one.
  if (!(*parts)[0].empty()) {
    v->Type = Ctx().TypesProccess->ReadType((*parts)[0], true);
    if (v->Type == nullptr) return nullptr;
  }
  return v;
}

std::string ToString(const TExpr& e) {
  std::string out;
  AppendStorage(out, e);
  return out;
}

namespace {

bool ReadPayload(TExpr& node, std::string_view p, TVarList& scope, std::string_view whole) {
  const auto invalid = [&] {
    Report("Неверный формат выражения "_cp + std::string(whole), "Invalid format of expression " + std::string(whole));
    return false;
  };
  if (p == "NULL") return node.Class == TClass::NoClass || invalid();
  switch (node.Class) {
    case TClass::Intr: {
      if (p.size() < 2 || p.front() != '\\') {
        Report("Ошибка 1 при интерпретации стандартной функции "_cp + std::string(p),
               "Error 1 in intrinsic function interpration " + std::string(p));
        return false;
      }
      const std::optional<int> number = NonNegative(p.substr(1));
      TIntr* f = number ? Ctx().StFunc->Intr(*number) : nullptr;
      if (f == nullptr) {
        Report("Ошибка 2 при интерпретации стандартной функции "_cp + std::string(p),
               "Error 2 in intrinsic function interpration " + std::string(p));
        return false;
      }
      node.Data = f;
      return true;
    }
    case TClass::Number: {
      std::optional<TNumber> n = p.starts_with('(') ? FractionFromString(p) : NumberFromString(p);
      // A negative real is written with its sign, which the number reader
      // does not take for reals; read its magnitude and negate it.
      if (!n && p.size() > 1 && p.front() == '-') {
        n = NumberFromString(p.substr(1));
        if (n && n->IsReal()) Negate(*n);
        else n.reset();
      }
      if (!n) return invalid();
      node.Data = *n;
      return true;
    }
    case TClass::String:
      // Written back inside brackets, a text reads again only when its own brackets pair up.
      if (!BracketsPair(p)) return invalid();
      node.Data = std::string(p);
      return true;
    case TClass::NodefVar:
    case TClass::DataVar:
    case TClass::ProveVar: {
      TVarPtr v = VarFromString(p);
      if (!v) return false;
      node.Data = std::move(v);
      return true;
    }
    case TClass::LocVar: {
      const TVarPtr v = VarFromString(p);
      if (!v) return false;
      for (auto it = scope.rbegin(); it != scope.rend(); ++it) {
        if ((*it)->Name == v->Name) {
          node.Data = it->get();
          return true;
        }
      }
      Report("Ошибка при связывании локальной переменной "_cp + std::string(p),
             "Error in linking local variable " + std::string(p));
      return false;
    }
    case TClass::MathPar:
    case TClass::TemplPar: {
      const std::optional<int> n = NonNegative(p);
      if (!n) return invalid();
      node.Data = *n;
      return true;
    }
    case TClass::Compound: {
      const auto parts = SplitTop(StripBrackets(p));
      if (!parts) return false;
      TExprList children;
      for (const std::string_view part : *parts) {
        TExprPtr child = FromString(part, &scope);
        if (!child) return false;
        children.push_back(std::move(child));
      }
      node.Data = std::move(children);
      return true;
    }
    case TClass::Templ: {
      TExprPtr inner = FromString(p, &scope);
      if (!inner) return false;
      node.Data = std::move(inner);
      return true;
    }
    default: return invalid();  // no_class and ant_intr carry no payload to read
  }
}

}  // namespace

TExprPtr FromString(std::string_view text, TVarList* scope) {
  if (scope == nullptr) {
    Report("Ошибка 1 в TExpr::FromString()"_cp, "Error 1 in TExpr::FromString()");
    return nullptr;
  }
  const auto fields = SplitTop(StripBrackets(text));
  if (!fields) return nullptr;
  if (fields->size() != 4) {
    Report("Неверный формат выражения "_cp + std::string(text), "Invalid format of expression " + std::string(text));
    return nullptr;
  }
  const auto& [t, v, c, p] = std::tie((*fields)[0], (*fields)[1], (*fields)[2], (*fields)[3]);
  auto node = std::make_unique<TExpr>();
  if (!t.empty()) {
    node->Type = Ctx().TypesProccess->ReadType(t, true);
    if (node->Type == nullptr) return nullptr;
  }
  node->Class = ClassFromName(c);
  if (node->Class == TClass::NoClass && c != "no_class") {
    Report("Неверный формат выражения "_cp + std::string(text), "Invalid format of expression " + std::string(text));
    return nullptr;
  }
  if (!v.empty()) {
    const auto vars = SplitTop(StripBrackets(v));
    if (!vars) return nullptr;
    TVarList bound;
    for (const std::string_view var : *vars) {
      TVarPtr read = VarFromString(var);
      if (!read) return nullptr;
      bound.push_back(std::move(read));
    }
    node->Bound = std::move(bound);
  }
  const std::size_t depth = scope->size();
  if (node->Bound) scope->insert(scope->end(), node->Bound->begin(), node->Bound->end());
  const bool ok = ReadPayload(*node, p, *scope, text);
  scope->resize(depth);
  return ok ? std::move(node) : nullptr;
}

}  // namespace lemmix
