// A type of the formal language: a base kind and the payload of that kind.
// Types live in the catalogue (TTypesProccess), which creates, owns and interns
// them; elsewhere they are referred to by plain pointers, and interned types
// are equal exactly when they are the same object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lemmix {

class TType;

// Base kinds with the codes of the catalogue file ("simpleBT" .. "listBT").
enum class TBase : std::uint8_t { Unset = 0, Simple = 1, Fun = 2, Set = 3, Vec = 4, List = 5 };

struct TFunType {
  std::vector<TType*> Args;
  TType* Value = nullptr;
  bool Commutative = false;
  // Formulas in the text notation; absent until the first restriction is added.
  std::optional<std::vector<std::string>> Restrictions;
};

struct TSetType {
  TType* Element = nullptr;
  bool MayBeEmpty = false;
  bool Finite = false;
};

struct TVecType {
  TType* Element = nullptr;
  std::optional<int> Dimension;  // absent: any dimension
};

struct TListType {
  TType* Element = nullptr;
};

class TType {
 public:
  // Only the catalogue creates types.
  class Key {
    friend class TTypesProccess;
    Key() = default;
  };
  TType(Key, std::string name, TBase base, std::uint64_t serial);
  TType(Key, const TType& other, std::uint64_t serial);

  std::string Name;

  TBase Base() const { return base_; }
  // Sets the base and creates its empty payload.
  void SetBase(TBase base);

  TFunType* Fun() { return std::get_if<TFunType>(&payload_); }
  const TFunType* Fun() const { return std::get_if<TFunType>(&payload_); }
  TSetType* Set() { return std::get_if<TSetType>(&payload_); }
  const TSetType* Set() const { return std::get_if<TSetType>(&payload_); }
  TVecType* Vec() { return std::get_if<TVecType>(&payload_); }
  const TVecType* Vec() const { return std::get_if<TVecType>(&payload_); }
  TListType* List() { return std::get_if<TListType>(&payload_); }
  const TListType* List() const { return std::get_if<TListType>(&payload_); }

  // Position in the order of creation, which is the order of the catalogue list.
  std::uint64_t Serial() const { return serial_; }

 private:
  TBase base_ = TBase::Unset;
  std::variant<std::monostate, TFunType, TSetType, TVecType, TListType> payload_;
  std::uint64_t serial_ = 0;
};

// Structural equality. Element types of sets, vectors and lists are compared
// structurally; argument and value types of functions by identity.
// Reports an unknown base through `internalError` when it is given.
class IMessages;
bool Equal(const TType& a, const TType& b, IMessages* internalError = nullptr);

// -1 when a comes before b in the catalogue, 0 for the same type, 1 otherwise
// (also when either is null).
int CatalogueOrder(const TType* a, const TType* b);

}  // namespace lemmix
