// The record keywords of proof protocols, by index. Records are always
// written with these English strings; their spelling is the format.
#pragma once

#include <array>
#include <string_view>

namespace lemmix {

inline constexpr std::array<std::string_view, 63> kProtocolKeywords = {
    "Define a variable: ",
    "Recursive definition of sequences: ",
    "Define a variable with conditions: ",
    "Apply statement: ",
    "Consider case: ",
    "Prove condition: ",
    "Conjecture: ",
    "Prove by contradiction.",
    "Prove by induction on variable ",
    "Initial value of the induction variable: ",
    "Substiute an expression for quantor variable",
    "Add to (in)equality ",
    "Multiply the inequality by positive number ",
    "Multiply the inequality by nonegative number ",
    "Multiply the equality by nonzero number ",
    "Multiply the equality by number ",
    "Variable name ",
    " changed to ",
    "Refuse to test conditions.",
    "Wait, computer is beasy...",  // status text, never a record
    "Press any key",               // status text, never a record
    "Marked variable ",
    "The beginning of the proof: ",
    "Marked condition ",
    "Undo.",
    "Proof is aborted.",
    "Prove continue.",
    "Section 1.",
    "Section 2.",
    "Section 3.",
    "Section 4.",
    " of section 1:",
    " of section 2:",
    " of section 3:",
    " of section 4:",
    "End of sections.",
    "ByContradiction = ",
    "Value : ",
    "Condition : ",
    "The end of definition with conditions.",
    "Test conditions.",
    "Successful end of the proof.",
    "Unsuccessful end of the proof.",
    "Required object is added to the section of given objects.",
    "The value of the required object is substituted for.",
    "Refuse to substitute for quantor variable ",
    "Substituted ",
    " for ",
    "The first element of the sequence is defined: ",
    "The (i+1) element of the sequence is defined: ",
    "The end of recursive definition.",
    "Abort recursive definition.",
    "Nonstationary variables of induction step:",
    "==========================================",
    "------------------------------------------",
    "Selection list:",
    "End of selection list.",
    "Message: ",
    "Error: ",
    "Level = ",
    "SubCaption = ",
    "Begin auto transformations.",
    "End auto transformations.",
};

// The indices the writers use by name.
enum ProtocolKeyword : int {
  kBeginningOfProof = 22,
  kUndo = 24,
  kSuccessfulEnd = 41,
};

}  // namespace lemmix
