// Where a method statement keeps its data: the lines after the formulation,
// one field per line. Formulas are stored formula text written with the
// method's identifiable variables; lists of formulas join their items with
// " \and " (each item is matched or proved apart); flags are "true"/"false".
#pragma once

namespace lemmix {

// 0 dialog superficial, 1 automatic deep, 2 automatic superficial, 3 dialog deep.
inline constexpr int kMethodTypeField = 7;
// The parameters: a list of typed variables as a quantifier writes them ("x \in \R , n \in \N").
inline constexpr int kMethodVariablesField = 8;
// The input condition (superficial) or expression (deep), and its replacement.
inline constexpr int kMethodInputField = 9;
inline constexpr int kMethodOutputField = 10;
// Superficial: the connective, 0 "<=>", 1 " =>", 2 " <=". Dialog deep: the new variables (typed, as line 8).
inline constexpr int kMethodConnectiveField = 11;
inline constexpr int kMethodNewVariablesField = 11;
// Superficial: the present conditions. Dialog deep: the new conditions.
inline constexpr int kMethodPresentField = 12;
inline constexpr int kMethodNewConditionsField = 12;
inline constexpr int kMethodTestingField = 13;
// The conditions on classes: ¬, ∧, ∨ of class atoms.
inline constexpr int kMethodClassesField = 14;
// Forbidden type patterns, separated by " ; ": each a list of typed variables.
inline constexpr int kMethodFalseTypesField = 15;
// The English names of the methods this one supersedes, separated by " ; ".
inline constexpr int kMethodPreferableField = 16;
inline constexpr int kMethodPriorityField = 17;
// Two flags: NegationEnabled, then Terminal ("true false").
inline constexpr int kMethodFlagsField = 18;
inline constexpr int kMethodRusCaptionField = 19;
inline constexpr int kMethodEngCaptionField = 20;
inline constexpr int kMethodGroupField = 21;
inline constexpr int kMethodHelpField = 22;

}  // namespace lemmix
