// Demonstrations: a saved protocol replayed through the proof driver. Each
// record is read back and answers the dialog the user filled in, the same
// command runs, and the recorder compares every line the replay writes with
// the protocol, so a protocol verifies only when the proof it records still
// goes through, step for step, up to the driver's own successful end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "proofrun/proof_ui.h"
#include "shell/message.h"

namespace lemmix {

class TAssotProccess;
class TBook;
class TMethodProofs;
class TProofDriver;
class TProtocolRecorder;
class TStatement;
struct TAutoSettings;

// The keyword a record begins with: the first of the table, in its order,
// whose text without its surrounding blanks starts the record; -1 for none.
int ProtocolKeyword(std::string_view record);

// A fault of a protocol: why it cannot be read, and its line (1-based).
struct TProtocolFault {
  TMessage Message;
  int Line = 0;
};

// The protocol's head: its twelve setting lines read into `settings`, then
// its beginning line, which must name the statement; `beginning` is that
// line's index. The fault where the head is not so.
std::optional<TProtocolFault> ReadProtocolHead(const std::vector<std::string>& protocol, const TStatement& statement,
                                              TAutoSettings& settings, int& beginning);

// Carries out the user command that a protocol record (without indentation
// and marks) begins, the driver's dialogs answered by its UI. The message
// when the record begins no command the current proof field allows.
std::optional<TMessage> ReplayCommand(TProofDriver& driver, const std::string& record);

// What a stepping demonstration shows of the dialogs it answers: each dialog
// filled in again as the protocol records it, before the step goes on. Every
// call returns once the student has seen it.
class IDemoDisplay {
 public:
  virtual ~IDemoDisplay() = default;
  // A formula dialog (an index of the dialog captions, `suffix` after it).
  virtual void Formula(int caption, std::string_view suffix, std::string_view text) = 0;
  virtual void Definition(const TDefinitionAnswer& answer) = 0;
  virtual void Statement(const TStatement& statement) = 0;
  virtual void ChooseTransformation(const std::vector<TTransformChoice>& offered, std::size_t chosen) = 0;
  virtual void Choose(std::string_view caption, const std::vector<std::string>& items, std::size_t chosen) = 0;
  virtual void Mark(std::string_view caption, const std::vector<std::string>& items, const std::vector<bool>& marks) = 0;
  virtual void AddRequiredObject(bool add) = 0;
  virtual void Substitute(std::string_view variable, const std::vector<std::string>& candidates,
                          const TSubstituteAnswer& answer) = 0;
};

// The dialogs of a proof answered from the records of the step being
// replayed. A dialog reads forward, from where the previous one stopped (never
// before the lines the replay has already written), to the first record of
// its kind within the step; what it answers wrong, the recorder finds.
class TDemoUi : public IProofUi {
 public:
  TDemoUi(const TBook& book, const TProtocolRecorder& protocol) : book_(book), protocol_(protocol) {}

  // The step: the protocol's lines [first, end).
  void BeginStep(int first, int end);
  // Where the answered dialogs are shown; none while verifying.
  void SetDisplay(IDemoDisplay* display) { display_ = display; }
  // The first dialog of the step that its records could not answer.
  const std::optional<TMessage>& Failure() const { return failure_; }
  int FailureLine() const { return failureLine_; }

  std::optional<std::string> Formula(int caption, std::string_view suffix, std::string_view defaultText) override;
  std::optional<TDefinitionAnswer> Definition() override;
  std::optional<std::vector<std::string>> Element(int caption, std::string_view sequence) override;
  const TStatement* Statement() override;
  std::optional<std::size_t> ChooseTransformation(const std::vector<TTransformChoice>& offered) override;
  std::optional<std::size_t> Choose(std::string_view caption, const std::vector<std::string>& items) override;
  std::optional<std::vector<bool>> Mark(std::string_view caption, const std::vector<std::string>& items) override;
  bool ProveFirst(const std::vector<std::string>& conditions) override;
  std::optional<bool> AddRequiredObject() override;
  std::optional<TSubstituteAnswer> Substitute(std::string_view variable,
                                              const std::vector<std::string>& candidates) override;

 private:
  // The record of the line: without its indentation and marks.
  std::string Record(int line) const;
  // The next line of the step holding a record, from `from` on; -1 for none.
  int NextRecord(int from) const;
  // The next record of one of the kinds: its line (the reading goes on after
  // it) and its kind; -1 after the failure when there is none.
  int Find(std::initializer_list<int> kinds, int* kind = nullptr);
  // The record after the keyword of its kind.
  std::string Argument(int line, int kind) const;
  void Fail(TMessage message, int line);
  // The answer, once the display (if any) has shown it.
  std::string Shown(int caption, std::string_view suffix, std::string text);
  TSubstituteAnswer Shown(std::string_view variable, const std::vector<std::string>& candidates,
                          TSubstituteAnswer answer);
  // Message M4: the record met instead of the one expected.
  void Unexpected(std::string_view expected);

  const TBook& book_;
  const TProtocolRecorder& protocol_;
  IDemoDisplay* display_ = nullptr;
  int cursor_ = 0;
  int end_ = 0;
  std::optional<TMessage> failure_;
  int failureLine_ = 0;
};

// A replay of a protocol: its head, then one step per user action.
class TDemonstration {
 public:
  // The driver answers through the demonstration until it ends.
  TDemonstration(TProofDriver& driver, TProtocolRecorder& protocol, const TBook& book);
  ~TDemonstration();
  TDemonstration(const TDemonstration&) = delete;
  TDemonstration& operator=(const TDemonstration&) = delete;

  // Reads the protocol's twelve setting lines (they become the settings of
  // the run) and its beginning line, which must name the statement, and
  // starts the proof. False, with the message, when the run does not start.
  bool Begin(const TStatement& statement, std::vector<std::string> lines, const std::string& fullProtocolPath = {});
  // Replays the next user action. False when it failed or the run is over.
  bool Step();
  // Shows the dialogs the replay answers (a stepping demonstration with the proof field).
  void SetDisplay(IDemoDisplay* display) { ui_.SetDisplay(display); }

  // The run is over: the proof ended, a step failed or the protocol ended.
  bool Ended() const { return ended_; }
  // The proof ended successfully and the protocol holds nothing more.
  bool Succeeded() const;
  // Why the run stopped, and the protocol's line (1-based) it stopped at.
  const std::optional<TMessage>& Failure() const { return failure_; }
  int Line() const { return line_; }
  // The failure only says that a step did not go through: the driver's own
  // message, if it gave one, tells why.
  bool FailureIsGeneric() const { return generic_; }

 private:
  bool Fail(TMessage message, int line);
  // After the head and after each step: the replay wrote what the protocol
  // holds, made as many proof fields as it marks, and the step went through.
  bool Check(int first, int end, const std::string& record);
  int NextRecord(int from) const;

  TProofDriver& driver_;
  TProtocolRecorder& protocol_;
  const TBook& book_;
  TDemoUi ui_;
  IProofUi& previous_;
  bool ended_ = false;
  bool generic_ = false;
  std::optional<TMessage> failure_;
  int line_ = 0;
};

// The outcome of the verification of one protocol.
struct TVerifyResult {
  bool Passed = false;
  int Line = 0;         // 1-based: where the replay stopped
  std::string Message;  // why it failed, in English; empty when it passed
  TMessage Said;        // the same in both languages
  double Milliseconds = 0;
};

// Replays the protocol of the statement with a driver and a recorder of its
// own and the messages kept, not shown; the settings of the current context
// stay as they are. It passes only when the driver ends the proof successfully.
// The replays of the book's methods are kept in `methods` when given.
TVerifyResult VerifyProtocol(const TBook& book, const TStatement& statement, const std::vector<std::string>& lines,
                             const TAssotProccess* assot, TMethodProofs* methods = nullptr);

}  // namespace lemmix
