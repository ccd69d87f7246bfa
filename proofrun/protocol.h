// The protocol recorder: the records of a proof, line by line, in memory and
// in the proof journal while proving, or in the full protocol while a
// demonstration replays a saved protocol.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

class IMessages;
struct TAutoSettings;

class TProtocolRecorder {
 public:
  // The number of setting lines at the head of every protocol.
  static constexpr int kSettingLines = 12;

  explicit TProtocolRecorder(IMessages& messages) : messages_(messages) {}

  std::vector<std::string> Lines;  // the in-memory protocol
  int Indent = 0;                  // a line starts with 3 blanks per level; negative: nothing is recorded
  int ReadPos = 0;                 // the next line a demonstration reads
  int PendingMarks = 0;            // proof-field marks ('@') still to be placed

  // The start of a proof: the journal made anew (a failure is reported and the
  // proof goes on without it; an empty path keeps none), the state cleared,
  // the settings and the beginning line written. While demonstrating, the
  // protocol's head has been read by the demonstration: only the indent and
  // the marks start afresh.
  void StartProof(const std::string& journalPath, const TAutoSettings& settings, std::string_view englishName);
  // The start of a demonstration of the protocol's lines; with a full
  // protocol path, that file is created and receives what is written. False,
  // with its message, when the full protocol exists already or cannot be made.
  bool StartDemonstration(std::vector<std::string> protocol, const std::string& fullProtocolPath = {});
  // While proving: the journal made anew at the path with the lines recorded
  // so far, so that a demonstration taken over is journaled from there on.
  // False, with the message, when it cannot be made.
  bool OpenJournal(const std::string& path);
  // Closes the journal or the full protocol.
  void Close();
  bool Demonstrating() const { return demonstrating_; }
  // The end of a demonstration: the protocol keeps the lines replayed, so
  // that a proof taken over continues them, and records again.
  void EndDemonstration();

  // While demonstrating, every line written is compared with the protocol's
  // next non-empty line (marks aside): the replay must write what the
  // recorded proof wrote. The first difference is kept.
  struct TMismatch {
    int Line = 0;          // 1-based line of the protocol
    std::string Found;     // the protocol's line, marks stripped; empty past its end
    std::string Expected;  // the line the replay wrote
  };
  const std::optional<TMismatch>& Mismatch() const { return mismatch_; }
  // The protocol's head, up to the line `beginning`, was read by the
  // demonstration: comparing goes on after it, its marks count as read.
  void VerifyAfter(int beginning);
  // The protocol's next line still to be compared.
  int VerifyPos() const { return verify_; }
  // The proof-field marks the replay placed and those on the protocol's
  // lines compared so far; a step must leave them equal.
  int MarksPlaced() const { return marksPlaced_; }
  int MarksRead() const { return marksRead_; }
  // Whether the driver took a command back since the last call (a replayed
  // command that failed).
  bool TakeRollBack();

  void WriteLine(std::string_view text);
  // Two lines with one treatment of the pending marks, which go onto the first.
  void WritePair(std::string_view first, std::string_view second);
  // An undo (or a command taken back), recorded in the journal only.
  void JournalUndo();

  // Sets ReadPos after the k-th mark and past the rest of its step; false
  // when there are fewer marks. While demonstrating, comparing goes on from
  // there, with k marks placed and read.
  bool FindMark(int k);
  // Drops the lines from ReadPos on; never the protocol a demonstration replays.
  void TruncateAtReadPos();

  const std::string& JournalPath() const { return journal_; }
  // The journal is renamed to the path (replacing a file there) and goes on
  // there; false, with the journal left where it was, when it cannot be.
  bool MoveJournal(const std::string& path);
  const std::string& FullProtocolPath() const { return fullProtocol_; }

  // The line without the proof-field marks at its end; their number in `marks`.
  static std::string_view WithoutMarks(std::string_view line, int* marks = nullptr);

  // Appends the text as a line of its own to the file, which never ends with
  // a line break; an empty text writes nothing. False when it cannot be written.
  static bool AppendToFile(const std::string& path, std::string_view text);
  static bool AppendListToFile(const std::string& path, const std::vector<std::string>& lines);
  // Overwrites the last line of the file from its start (the file is not shortened).
  static bool ReplaceLastLine(const std::string& path, std::string_view text);

 private:
  // The line as recorded: indented, with the marks owed.
  std::string Indented(std::string_view text) const;
  void PlaceMarks(std::string& line);
  void Record(std::string line);
  void Verify(const std::string& line);

  IMessages& messages_;
  bool demonstrating_ = false;
  int verify_ = 0;
  int marksPlaced_ = 0;
  int marksRead_ = 0;
  bool rolledBack_ = false;
  std::optional<TMismatch> mismatch_;
  std::string journal_;       // empty: no journal
  std::string fullProtocol_;  // empty: no full protocol
};

}  // namespace lemmix
