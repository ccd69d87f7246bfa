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
};

}  // namespace lemmix
