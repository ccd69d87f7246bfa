// The written forms of types: identifiers of the file's entries and the
// structure of every type built later, read back to the same interned type.
#include <algorithm>
#include <cctype>
#include <optional>

#include "shell/cp1251.h"
#include "shell/message.h"
#include "shell/text.h"
#include "types/types_proccess.h"

namespace lemmix {

namespace {

constexpr std::string_view kFunSuffix = "FunT";
constexpr std::string_view kArrow = "->";
// Written forms nest deeper than any type the program builds only in damaged text.
constexpr int kMaxDepth = 64;

// An identifier that may stand as a part of a structure without brackets.
bool Plain(std::string_view id) { return !id.empty() && id.find_first_of("[]_!->") == std::string_view::npos; }

bool Safe(unsigned char c) { return c < 128 && std::isalnum(c); }

std::string Escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (Safe(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (Safe(byte)) {
      out += text[i];
      continue;
    }
    if (text[i] != '%' || i + 2 >= text.size()) return std::nullopt;
    const int high = digit(text[i + 1]);
    const int low = digit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// The pieces of `text` between the separators outside square brackets;
// nothing when the brackets do not pair.
std::optional<std::vector<std::string_view>> SplitTop(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '[') {
      ++depth;
    } else if (text[i] == ']') {
      if (--depth < 0) return std::nullopt;
    } else if (depth == 0 && text.substr(i).starts_with(separator)) {
      pieces.push_back(text.substr(start, i - start));
      start = i + separator.size();
      i = start - 1;
    }
  }
  if (depth != 0) return std::nullopt;
  pieces.push_back(text.substr(start));
  return pieces;
}

// The text inside `prefix` "[" ... "]" when those brackets enclose all the rest.
std::optional<std::string_view> Enclosed(std::string_view text, std::string_view prefix) {
  if (!text.starts_with(prefix) || text.size() < prefix.size() + 2 || text[prefix.size()] != '[' || text.back() != ']')
    return std::nullopt;
  const std::string_view inner = text.substr(prefix.size() + 1, text.size() - prefix.size() - 2);
  if (!SplitTop(inner, "!")) return std::nullopt;  // "[a]_[b]": the first bracket closes early
  return inner;
}

// A written form read but not yet built: either a type found by identifier or a structure.
struct TWritten {
  TType* Found = nullptr;
  TBase Base = TBase::Unset;
  std::vector<TWritten> Parts;  // the arguments and then the value; or the element
  bool Commutative = false;
  bool MayBeEmpty = false;
  bool Finite = false;
  std::optional<int> Dimension;
  std::optional<std::vector<std::string>> Restrictions;
};

class TFormReader {
 public:
  explicit TFormReader(const TTypesProccess& types) : types_(types) {}

  std::optional<TWritten> Read(std::string_view text, int depth) {
    // Types built by typing may have no name at all: an empty part names none of them.
    if (depth > kMaxDepth || text.empty()) return std::nullopt;
    if (TType* t = types_.FindType(text, false)) {
      TWritten found;
      found.Found = t;
      return found;
    }
    if (const auto inner = Enclosed(text, "")) return Read(*inner, depth + 1);
    const auto pieces = SplitTop(text, "!");
    if (!pieces) return std::nullopt;
    const std::string_view head = pieces->front();
    const std::vector<std::string_view> flags(pieces->begin() + 1, pieces->end());
    TWritten w;
    static constexpr std::pair<std::string_view, TBase> kElementForms[] = {
        {"Set", TBase::Set}, {"Vec", TBase::Vec}, {"List", TBase::List}};
    for (const auto& [prefix, base] : kElementForms) {
      const auto element = Enclosed(head, prefix);
      if (!element) continue;
      w.Base = base;
      if (!Part(*element, depth, w)) return std::nullopt;
      return Flags(flags, w) ? std::optional(std::move(w)) : std::nullopt;
    }
    if (!head.ends_with(kFunSuffix)) return std::nullopt;
    const auto sides = SplitTop(head.substr(0, head.size() - kFunSuffix.size()), kArrow);
    if (!sides || sides->size() != 2) return std::nullopt;
    w.Base = TBase::Fun;
    if (!sides->front().empty()) {
      const auto args = SplitTop(sides->front(), "_");
      if (!args) return std::nullopt;
      for (const std::string_view arg : *args)
        if (!Part(arg, depth, w)) return std::nullopt;
    }
    if (!Part(sides->back(), depth, w)) return std::nullopt;
    return Flags(flags, w) ? std::optional(std::move(w)) : std::nullopt;
  }

 private:
  bool Part(std::string_view text, int depth, TWritten& w) {
    std::optional<TWritten> part = Read(text, depth + 1);
    if (!part) return false;
    w.Parts.push_back(std::move(*part));
    return true;
  }

  // Each flag of its kind at most once; restrictions repeat.
  static bool Flags(const std::vector<std::string_view>& flags, TWritten& w) {
    std::string seen;
    for (const std::string_view flag : flags) {
      if (flag.empty()) return false;
      const char kind = flag.front();
      const std::string_view rest = flag.substr(1);
      if (kind != 'R' && seen.find(kind) != std::string::npos) return false;
      seen += kind;
      if (w.Base == TBase::Fun && kind == 'C' && rest.empty()) {
        w.Commutative = true;
      } else if (w.Base == TBase::Fun && kind == 'R') {
        std::optional<std::string> restriction = Unescape(rest);
        if (!restriction) return false;
        if (!w.Restrictions) w.Restrictions.emplace();
        w.Restrictions->push_back(std::move(*restriction));
      } else if (w.Base == TBase::Set && kind == 'E' && rest.empty()) {
        w.MayBeEmpty = true;
      } else if (w.Base == TBase::Set && kind == 'F' && rest.empty()) {
        w.Finite = true;
      } else if (w.Base == TBase::Vec && kind == 'D' && !rest.empty() &&
                 std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        w.Dimension = ParseInt(rest);
        if (!w.Dimension) return false;
      } else {
        return false;
      }
    }
    return true;
  }

  const TTypesProccess& types_;
};

}  // namespace

std::string TTypesProccess::Identifier(const TType& t) const {
  const bool entry = t.Serial() < fileEnd_ && FindType(t.Name, false) == &t;
  if (entry || t.Base() == TBase::Simple) return t.Name;
  const auto part = [this](const TType* p) {
    if (p == nullptr) return std::string();
    const std::string id = Identifier(*p);
    return Plain(id) ? id : "[" + id + "]";
  };
  std::string out;
  switch (t.Base()) {
    case TBase::Fun: {
      const TFunType& f = *t.Fun();
      for (std::size_t i = 0; i < f.Args.size(); ++i) out += (i > 0 ? "_" : "") + part(f.Args[i]);
      out += std::string(kArrow) + part(f.Value) + std::string(kFunSuffix);
      if (f.Commutative) out += "!C";
      if (f.Restrictions)
        for (const std::string& r : *f.Restrictions) out += "!R" + Escape(r);
      break;
    }
    case TBase::Set:
      out = "Set[" + part(t.Set()->Element) + "]";
      if (t.Set()->MayBeEmpty) out += "!E";
      if (t.Set()->Finite) out += "!F";
      break;
    case TBase::Vec:
      out = "Vec[" + part(t.Vec()->Element) + "]";
      if (t.Vec()->Dimension) out += "!D" + std::to_string(*t.Vec()->Dimension);
      break;
    case TBase::List:
      out = "List[" + part(t.List()->Element) + "]";
      break;
    default:
      out = t.Name;
      break;
  }
  return out;
}

namespace {

TType* Build(const TWritten& w, TTypesProccess& types) {
  if (w.Found != nullptr) return w.Found;
  std::vector<TType*> parts;
  for (const TWritten& p : w.Parts) parts.push_back(Build(p, types));
  TType* t = types.NewType("", w.Base);
  switch (w.Base) {
    case TBase::Fun:
      t->Fun()->Value = parts.back();
      parts.pop_back();
      t->Fun()->Args = std::move(parts);
      t->Fun()->Commutative = w.Commutative;
      t->Fun()->Restrictions = w.Restrictions;
      break;
    case TBase::Set:
      *t->Set() = {parts.front(), w.MayBeEmpty, w.Finite};
      break;
    case TBase::Vec:
      *t->Vec() = {parts.front(), w.Dimension};
      break;
    default:
      t->List()->Element = parts.front();
      break;
  }
  TType* interned = types.Intern(t);
  // A type new to this run is named by its written form, which FindType then knows.
  if (interned == t) t->Name = types.Identifier(*t);
  return interned;
}

}  // namespace

TType* TTypesProccess::ReadType(std::string_view written, bool report) {
  if (const std::optional<TWritten> w = TFormReader(*this).Read(written, 0)) return Build(*w, *this);
  if (report)
    messages_.Error({"Неверный идентификатор типа: "_cp + std::string(written),
                     "Wrong type identificator: " + std::string(written)});
  return nullptr;
}

}  // namespace lemmix
