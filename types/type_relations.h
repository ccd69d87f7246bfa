// Relations between types: the subtype order.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lemmix {

class TType;
class TTypesProccess;

// a is a subtype of b. Identifiers of the simple chain are looked up in the
// catalogue (reporting a missing one). Null b gives false.
bool IsSubtypeOf(const TType* a, const TType* b, const TTypesProccess& types);
bool IsSubtypeOfNamed(const TType* a, std::string_view identifier, const TTypesProccess& types);

// The type a set word denotes ("\N" -> nT ...) and the type of its subsets
// ("\N" -> nMBESetT ...); null for other words.
TType* SimpleTypeOfSetWord(std::string_view word, const TTypesProccess& types);
TType* SubsetTypeOfSetWord(std::string_view word, const TTypesProccess& types);
// The set word whose subsets have this type ("nMBESetT" -> "\N" ...); empty for other types.
std::string_view SetWordOfSubsetType(const TType& type);
// The sequences of an element type: nT -> NSeqT, zT and n0T -> ZSeqT, qT -> QSeqT, rT -> SeqT.
TType* SequenceTypeOf(std::string_view elementId, const TTypesProccess& types);
// The real function of n real variables, "rFunc" + n + "T" unless the catalogue has it.
TType* RealFunctionType(int n, TTypesProccess& types);
// The interned function from the argument types to the value type, named
// "nT_nT->rTFunT" unless the catalogue has it.
TType* FunctionTypeOf(const std::vector<TType*>& args, TType* value, TTypesProccess& types);
// The type of one variable that must belong to both types; null when none.
TType* CommonSubtype(TType* a, TType* b, TTypesProccess& types);

// The type of f applied to arguments of the given types, and whether they fit.
// `oneTypeForAll`: every argument is checked against the first argument type.
struct TResult {
  TType* Type = nullptr;
  bool Fits = true;
};
TResult ResultType(TType* f, const std::vector<TType*>& args, bool oneTypeForAll, const TTypesProccess& types);

}  // namespace lemmix
