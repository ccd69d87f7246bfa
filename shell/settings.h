// The settings of automatic transformations: how much the prover does by
// itself after each step. The kernel and the notation read them; a protocol
// records those with a key and restores them when it is replayed.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

// How a saved protocol is replayed (the Setup window's "Setup of demo").
// "Through" and "Visual" exclude each other: a run through many protocols
// must not wait for keys.
struct TDemoSettings {
  bool FullProtocol = false;  // write the full protocol (NAME.fpr) beside the replayed one
  bool Visual = true;         // replay step by step in the proof window
  bool Through = false;       // verify protocol after protocol, unattended

  bool operator==(const TDemoSettings&) const = default;
};

struct TAutoSettings {
  // Settings 1.
  bool AutoStandard = true;
  bool SymbolTransEnable = true;  // the symbol transformation package
  bool TestDataCond = true;
  bool TestProveCond = true;
  bool TestProveCondWhenDataNew = true;
  // Switches 1..4 by the chapter of the statement being proved (index 0..3);
  // switch 4 is what transformation scripts read as ArithmTransf.
  std::array<bool, 4> ChapterSwitch = {true, true, true, true};
  int DefineProveObject = 0;  // 0 ask the user, 1 always add object, 2 always substitute value

  // Settings 2.
  bool OneStepFinish0 = true;  // try to finish a (sub)proof in one step
  bool OneStepFinish1 = true;  // ... substituting for quantified variables
  bool OneStepFinish2 = true;  // ... substituting for required variables
  bool OneStepFinish3 = true;  // ... proving disjunctions by contradiction
  int ProveEachCond = 2;       // 0 never, 1 for new conditions, 2 always
  int ImplicationSimpl = 1;
  int DisjunctionSimpl = 1;

  // Kept with the settings of the run; a protocol neither records nor
  // restores them.
  TDemoSettings Demo;

  bool operator==(const TAutoSettings&) const = default;

  // The lines a protocol records, "Key = value", in the order of the windows.
  std::vector<std::string> ProtocolLines() const;
  // Takes the value of one such line; false when the line is no setting or
  // its value is not one the setting can hold (the setting is then unchanged).
  bool ReadProtocolLine(std::string_view line);

  // The switches for a statement in the given book directory: chapter 6 turns
  // switch 1 off, its paragraph 24 also the symbol package and switches 2-4.
  void SetChapterSwitches(std::string_view statementDir);
};

}  // namespace lemmix
