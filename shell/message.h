// What the core says to the user and asks of the user. Every text is a pair,
// Russian first and English second (both cp1251); the clients decide which
// one to show. Inside texts, the three characters backslash, 'n', blank mark a
// new line, as in the formula message box (see DisplayText).
#pragma once

#include <string>

namespace lemmix {

struct TMessage {
  std::string Rus;
  std::string Eng;
};

bool operator==(const TMessage& a, const TMessage& b);

class IMessages {
 public:
  virtual ~IMessages() = default;
  // Shown under the caption "Сообщение".
  virtual void Info(const TMessage& message) = 0;
  // Shown under the caption "Ошибка".
  virtual void Error(const TMessage& message) = 0;
};

class IQuestions {
 public:
  virtual ~IQuestions() = default;
  // true means "Yes".
  virtual bool Ask(const TMessage& question) = 0;
};

// The text as it is shown: the "\n " marker becomes a line feed.
std::string DisplayText(const std::string& text);

// Internal inconsistencies: "Error N in F (Unit)" / "Ошибка N в F (Unit)"; the
// Russian text names the function as `rusFunction` when one is given
// ("function TestType" / "функции TestType").
TMessage InternalError(int number, const std::string& function, const std::string& unit,
                       const std::string& rusFunction = "");
// The developer-error twin: "Error N in F (Unit)." / "Ошибка разработчика N : in F (Unit).".
TMessage DeveloperError(int number, const std::string& function, const std::string& unit);

}  // namespace lemmix
