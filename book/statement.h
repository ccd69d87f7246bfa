// A statement of the book: a definition, axiom, theorem, lemma, task or method.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "book/path_name.h"
#include "book/statement_kind.h"

namespace lemmix {

inline constexpr int kKindLine = 4;
inline constexpr int kFormulationLine = 5;
inline constexpr int kNotionLine = 6;  // definitions: the defined notion
inline constexpr int kMethodTypeLine = 7;
inline constexpr int kStatementLines = 6;
inline constexpr int kDefinitionLines = 7;  // and the defined notion
inline constexpr int kMethodLines = 23;     // and the method data

// The number of lines a statement of the kind (the word of line 4) has.
std::size_t StatementLineCount(std::string_view kind);

// The object a method statement's data build (the transformations of the
// prover); the book only keeps it.
class TMethodObject {
 public:
  virtual ~TMethodObject() = default;
  virtual std::unique_ptr<TMethodObject> Copy() const = 0;
};

class TStatement : public TPathName {
 public:
  // Builds the method object of a statement of kind method; nothing on
  // failure (the builder reports it). Unset: methods load without object.
  using MethodBuilder = std::function<std::unique_ptr<TMethodObject>(const TStatement&)>;
  static void SetMethodBuilder(MethodBuilder builder);

  TStatement();

  std::unique_ptr<TMethodObject> Method;

  bool IsStatement() const override { return true; }
  const std::string& Kind() const { return Lines[kKindLine]; }
  // The protocol directory of the statement and its mirror in "Protocols".
  std::string ProtocolDirectory() const { return Path; }
  std::string UserProtocolDirectory() const;

  // The names (without extension) of the statement's proof protocols: the
  // ".prt" files of its protocol directory and, in user mode, those of its
  // directory under "Protocols" after them.
  std::vector<std::string> ProtocolNames(bool userMode) const;

  bool Load() override;
  bool Save() override;
  // Builds the method object again from the lines, as loading does: none
  // unless the kind is method. False when a method's data build nothing.
  bool BuildMethod();
  // The target takes the source's path, lines and changed flag; with
  // `withMethod`, a copy of its method object too.
  static void Copy(TStatement& target, const TStatement& source, bool withMethod);
};

}  // namespace lemmix
