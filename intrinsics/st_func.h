// The catalogue of intrinsic functions (STFUNC.DAT), their antonyms, the
// couples (COUPLES.DAT), the Greek letter words and the hot key table.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "intrinsics/intr.h"

namespace lemmix {

class IMessages;
class TTypesProccess;

// The 52 Greek letter words of variable names: "\Alpha" .. "\Zeta", then
// the same in lower case; a word's letter code is its position + 1 among the
// capitals, position - 26 + 33 among the small letters.
const std::vector<std::string>& GreekLetterWords();

class TStFunc {
 public:
  static constexpr int kSlots = 224;     // numbers 0..223 are preallocated
  static constexpr int kKeys = 21;       // hot keys "1" .. "`"
  static constexpr int kRegisters = 3;   // "MAIN", "SHIFT", "CTRL"
  static constexpr int kAntonymSign = 10;
  static constexpr std::string_view kKeyChars = "1234567890-=\\[];',./`";
  static constexpr std::array<std::string_view, kRegisters> kRegisterNames = {"MAIN", "SHIFT", "CTRL"};
  // The number that stands for "no intrinsic head"; automatic numbers stay below it.
  static constexpr int kNoIntrinsic = 255;

  TStFunc(TTypesProccess& types, IMessages& messages);
  TStFunc(const TStFunc&) = delete;
  TStFunc& operator=(const TStFunc&) = delete;
  ~TStFunc();

  // Loads directory + "\STFUNC.DAT" and then directory + "\COUPLES.DAT".
  bool LoadIntrinsics(const std::string& directory);
  // The same for lines already read; the paths name the files in messages.
  bool LoadIntrinsicLines(const std::vector<std::string>& lines, const std::string& path);
  bool LoadCoupleLines(const std::vector<std::string>& lines, const std::string& path);

  TIntr* FindByWord(std::string_view word, bool report) const;
  // The antonym of the function named after the first four characters ("\NOT").
  TAntIntr* FindAntonymByWord(std::string_view word) const;
  // The standard set that shows a simple type: "nT" -> 52, ..., "lT" -> 48.
  TIntr* SetIntrinsicOfType(std::string_view typeId) const;
  const TConcreteType* ConcreteTypeEntry(const TIntr& f, const TType* type) const;
  std::string WordOf(const TIntr& f, bool numeric) const;
  std::string AntonymWordOf(const TAntIntr& a, bool numeric) const;
  static int CompareIntrinsics(const TIntr& a, const TIntr& b);

  struct HotKey {
    const TLetters* Visual = nullptr;  // absent when the key has no symbol
    int KeyIndex = kKeys;              // kKeys when the character is no hot key
  };
  HotKey HotKeyLookup(char key, int hotRegister) const;
  int HotKeyHelp(int hotRegister, int key) const { return hotHelp_[hotRegister][key]; }

  TIntr* Intr(int number) const {
    return number >= 0 && number < static_cast<int>(IntrList.size()) ? IntrList[number].get() : nullptr;
  }

  std::vector<std::unique_ptr<TIntr>> IntrList;
  std::vector<std::unique_ptr<TAntIntr>> AntonimList;
  std::vector<TCouple> CouplesList;
  std::vector<std::string> GreekLetters;

 private:
  class IntrinsicsReader;
  TAntIntr& AntonymOf(TIntr& f);

  TTypesProccess& types_;
  IMessages& messages_;
  std::array<std::array<const TLetters*, kKeys>, kRegisters> hotKeys_{};
  std::array<std::array<int, kKeys>, kRegisters> hotHelp_{};
};

}  // namespace lemmix
