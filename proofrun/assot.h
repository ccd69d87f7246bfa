// The catalogue of associated transformations (ASSOT.DAT): transformations
// of one marked condition attached to the mathematical words that head it.
// Each is a script (a test part and an execution part) or one of the dialog
// transformations that the proof driver carries out itself.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

class IMessages;
class TKernel;
class TStFunc;
enum class TSection : int;

struct TAssot {
  std::string Name;           // written to protocols
  std::string RusName;        // shown in the choice window
  bool DataEnabled = false;   // offered on given conditions
  bool ProveEnabled = false;  // offered on proving conditions
  int HelpMap = -1;
  std::optional<std::vector<std::string>> Test;     // absent: always offered
  std::optional<std::vector<std::string>> Execute;  // absent: nothing to run
  std::string DialogTransform;                      // empty: a script
};

// The dialog transformations a catalogue entry may name.
inline constexpr std::array<std::string_view, 13> kDialogTransforms = {"AddEqvD",
                                                                       "TimesIneqPosD",
                                                                       "TimesIneqNonnegD",
                                                                       "TimesEqNonzeroD",
                                                                       "TimesEqD",
                                                                       "ProveMarkedCondD",
                                                                       "ConsiderForallD",
                                                                       "ConsiderOrD",
                                                                       "ConsiderImplD",
                                                                       "RewriteUsingStrictIneqD",
                                                                       "RewriteUsingIneqAndEqD",
                                                                       "ConsiderLeftRealValue",
                                                                       "ConsiderRightRealValue"};

// Where a script runs: a script that restates a theorem of the book asks,
// by StatementBefore(PATH), whether that theorem stands before the statement
// being proved, as a statement must to be applied. Without a statement being
// proved (no `Before`) every theorem counts as available.
struct TScriptPlace {
  std::function<bool(std::string_view bookPath)> Before;
};

class TAssotProccess {
 public:
  TAssotProccess(const TStFunc& stFunc, IMessages& messages) : stFunc_(stFunc), messages_(messages) {}

  // Reads DIR\ASSOT.DAT. A fault stops the reading at its line with one
  // message; what was read before it stays.
  bool LoadAssot(const std::string& dir);
  // The same for the lines of such a file.
  bool LoadAssotLines(const std::vector<std::string>& lines);

  const std::vector<std::unique_ptr<TAssot>>& Transformations() const { return all_; }
  // The transformations attached to the intrinsic function of that number.
  const std::vector<const TAssot*>& Attached(int intrinsic) const;

  // The script of a transformation run on one condition of the proof field
  // (section 3 or 4, 0-based position). The test part decides whether the
  // transformation is offered there: it reads the field and never changes it;
  // an entry without a test part is always offered. The execution part
  // changes the field, the condition only by replacing it and the other
  // sections only by inserting conditions; it does not re-test the field.
  // A command that fails shows its message and the run answers false; the
  // caller has kept a copy of the field to return to.
  bool TestAssot(const TAssot& assot, const TKernel& field, TSection section, std::size_t index,
                 const TScriptPlace& place = {}) const;
  bool ExecuteAssot(const TAssot& assot, TKernel& field, TSection section, std::size_t index,
                    const TScriptPlace& place = {}) const;

 private:
  // The message of a fault in the line; most faults need no detail.
  bool Fail(int line, const std::string& rus = {}, const std::string& eng = {});

  const TStFunc& stFunc_;
  IMessages& messages_;
  std::vector<std::unique_ptr<TAssot>> all_;
  std::map<int, std::vector<const TAssot*>> attached_;
};

}  // namespace lemmix
