#include "shell/message.h"

#include "shell/cp1251.h"

namespace lemmix {

bool operator==(const TMessage& a, const TMessage& b) { return a.Rus == b.Rus && a.Eng == b.Eng; }

std::string DisplayText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\\n ") == 0) {
      out += '\n';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

TMessage InternalError(int number, const std::string& function, const std::string& unit,
                       const std::string& rusFunction) {
  const std::string n = std::to_string(number);
  return {"Ошибка "_cp + n + " в "_cp + (rusFunction.empty() ? function : rusFunction) + " (" + unit + ")",
          "Error " + n + " in " + function + " (" + unit + ")"};
}

TMessage DeveloperError(int number, const std::string& function, const std::string& unit) {
  return {"Ошибка разработчика "_cp + std::to_string(number) + " : in " + function + " (" + unit + ").",
          "Error " + std::to_string(number) + " in " + function + " (" + unit + ")."};
}

}  // namespace lemmix
