#include "shell/text_helpers.h"

#include "shell/context.h"
#include "shell/cp1251.h"
#include "shell/text.h"

namespace lemmix {

namespace {
void Report(const std::string& rus, const std::string& eng) { Ctx().Messages.Error({rus, eng}); }
}  // namespace

std::vector<std::string> SplitFields(std::string_view text, char separator) {
  std::vector<std::string> fields;
  if (text.empty()) return fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) {
      fields.emplace_back(Trim(text.substr(start)));
      return fields;
    }
    fields.emplace_back(Trim(text.substr(start, at - start)));
    start = at + 1;
    if (start == text.size()) {
      fields.emplace_back();
      return fields;
    }
  }
}

std::optional<std::vector<std::string>> ParseArguments(std::string_view raw, int nameLength, int count) {
  const std::string_view text = Trim(raw);
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos || (nameLength >= 0 && open != static_cast<std::size_t>(nameLength))) {
    Report("Открывающая скобка для аргументов оператора отсутствует в нужном месте."_cp,
           "The left bracket for arguments of an operator is absent in the particular place.");
    return std::nullopt;
  }
  if (text.size() < static_cast<std::size_t>(std::max(nameLength, 0)) + 2 || text.back() != ')') {
    Report("Закрывающая скобка для аргументов оператора отсутствует в нужном месте."_cp,
           "The right bracket for arguments of an operator is absent in the particular place.");
    return std::nullopt;
  }
  const std::string_view inside = text.substr(open + 1, text.size() - open - 2);
  std::vector<std::string> pieces;
  if (inside.empty()) return pieces;
  int depth = 0;
  std::size_t start = 0;
  const auto piece = [&](std::size_t end) {
    if (end == start) {
      Report("Пустой аргумент оператора."_cp, "Empty argument of an operator");
      return false;
    }
    pieces.emplace_back(inside.substr(start, end - start));
    start = end + 1;
    return true;
  };
  for (std::size_t i = 0; i < inside.size(); ++i) {
    if (inside[i] == '(') {
      ++depth;
    } else if (inside[i] == ')') {
      if (--depth < 0) {
        Report("В строке аргументов оператора лишняя закрывающая скобка."_cp, "In line of arguments there is an extra right bracket");
        return std::nullopt;
      }
    } else if (inside[i] == ',' && depth == 0 && !piece(i)) {
      return std::nullopt;
    }
  }
  if (!piece(inside.size())) return std::nullopt;
  if (count >= 0 && pieces.size() != static_cast<std::size_t>(count)) {
    Report("Неверное число аргументов оператора."_cp, "Invalid argument's number for an operator");
    return std::nullopt;
  }
  return pieces;
}

std::size_t FindOutsideBrackets(std::string_view text, std::size_t from, char c) {
  int depth = 0;
  for (std::size_t i = from; i >= 1 && i <= text.size(); ++i) {
    const char x = text[i - 1];
    if (depth == 0 && x == c) return i;
    if (x == '(') {
      ++depth;
    } else if (x == ')') {
      if (depth == 0) {
        const std::string rest(text.substr(from - 1));
        Report("Лишняя открывающая скобка в строке "_cp + rest, "Extra left bracket in string " + rest);
        return 0;
      }
      --depth;
    }
  }
  return 0;
}

std::string StripOuterBrackets(std::string_view text) {
  if (!text.empty() && text.front() == '(' && FindOutsideBrackets(text, 2, ')') == text.size())
    return std::string(text.substr(1, text.size() - 2));
  return std::string(text);
}

std::vector<std::string> SplitOutsideBrackets(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  std::size_t start = 1;
  for (std::size_t at = FindOutsideBrackets(text, start, separator); at != 0; at = FindOutsideBrackets(text, start, separator)) {
    pieces.emplace_back(text.substr(start - 1, at - start));
    start = at + 1;
    if (start > text.size()) break;
  }
  pieces.emplace_back(start <= text.size() ? text.substr(start - 1) : std::string_view());
  return pieces;
}

std::string UserProtocolPath(std::string_view path) {
  std::string result(path);
  std::size_t at = result.find("book");
  if (at == std::string::npos) at = result.find("Book");
  if (at != std::string::npos) result.replace(at, 4, "Protocols");
  return result;
}

}  // namespace lemmix
