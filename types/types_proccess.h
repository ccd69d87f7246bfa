// The type catalogue: every type that exists, the named ones of TYPES.DAT in
// file order first and every type built later behind them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "types/type.h"

namespace lemmix {

class IMessages;

class TTypesProccess {
 public:
  explicit TTypesProccess(IMessages& messages) : messages_(messages) {}
  TTypesProccess(const TTypesProccess&) = delete;
  TTypesProccess& operator=(const TTypesProccess&) = delete;

  // Reads directory + "\TYPES.DAT". The first faulty line is reported with its
  // number and ends the load with false; the types read before it stay.
  bool Load(const std::string& directory);
  // The same for lines already read; `path` names the file in messages.
  bool LoadLines(const std::vector<std::string>& lines, const std::string& path);

  TType* FindType(std::string_view identifier, bool report) const;

  // The written form of a type, which ReadType reads back to the same type in
  // this run and in any later one: the identifier of an entry of the file
  // (when no earlier entry shadows it), otherwise the structure:
  //   function  the arguments joined by "_", "->", the value, "FunT" (as in
  //             nT_nT->rTFunT), then "!C" when commutative and "!R" and the
  //             text of each restriction (letters and digits as they are,
  //             every other byte as "%" and two hex digits);
  //   set       "Set[" element "]", then "!E" when it may be empty, "!F" when finite;
  //   vector    "Vec[" element "]", then "!D" and the dimension when it has one;
  //   list      "List[" element "]".
  // A part that is not a plain identifier stands in square brackets.
  std::string Identifier(const TType& t) const;
  // The type of a written form: FindType, else the structure, built and
  // interned. Nothing is built when any part of it cannot be read; with
  // `report` that failure shows "Wrong type identificator".
  TType* ReadType(std::string_view written, bool report);
  // By the Russian descriptive name (TypeName).
  TType* FindTypeByName(std::string_view name, bool report) const;

  // A new type appended to the catalogue.
  TType* NewType(std::string name, TBase base);
  // A copy of t (payload copied, type references shared) appended to the catalogue.
  TType* Copy(const TType& t);
  // The earlier type equal to t, deleting t; or t itself when it is new.
  TType* Intern(TType* t);

  const std::vector<std::unique_ptr<TType>>& Types() const { return types_; }
  IMessages& Messages() const { return messages_; }

 private:
  class Reader;

  IMessages& messages_;
  std::vector<std::unique_ptr<TType>> types_;
  std::uint64_t nextSerial_ = 0;
  // Types with a serial below it were read from the file.
  std::uint64_t fileEnd_ = 0;
};

}  // namespace lemmix
