#include "proofrun/protocol.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "proofrun/protocol_keywords.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"
#include "shell/settings.h"
#include "shell/text.h"

namespace lemmix {

namespace {

namespace fs = std::filesystem;

// Creates an empty file; false when it cannot be made.
bool CreateEmpty(const std::string& path) {
  return static_cast<bool>(std::ofstream(NativePath(path), std::ios::binary));
}

}  // namespace

void TProtocolRecorder::StartProof(const std::string& journalPath, const TAutoSettings& settings,
                                   std::string_view englishName) {
  if (demonstrating_) {
    Indent = PendingMarks = 0;
    return;
  }
  demonstrating_ = false;
  fullProtocol_.clear();
  journal_ = journalPath;
  // An empty path: a proof without a journal (the command line, tests).
  std::error_code ignored;
  if (!journalPath.empty()) fs::remove(NativePath(journalPath), ignored);
  if (!journalPath.empty() && !CreateEmpty(journalPath)) {
    journal_.clear();
    messages_.Error({"Не удалось открыть файл протокола."_cp, "Unable to the open protocol file."});
  }
  Lines.clear();
  Indent = ReadPos = PendingMarks = 0;
  for (const std::string& line : settings.ProtocolLines()) WriteLine(line);
  WriteLine(std::string(kProtocolKeywords[kBeginningOfProof]) + std::string(englishName));
}

bool TProtocolRecorder::StartDemonstration(std::vector<std::string> protocol, const std::string& fullProtocolPath) {
  demonstrating_ = true;
  journal_.clear();
  fullProtocol_.clear();
  Lines = std::move(protocol);
  Indent = ReadPos = PendingMarks = 0;
  verify_ = marksPlaced_ = marksRead_ = 0;
  rolledBack_ = false;
  mismatch_.reset();
  if (fullProtocolPath.empty()) return true;
  if (FileExists(fullProtocolPath) || !CreateEmpty(fullProtocolPath)) {
    const std::string shown = DisplayPath(fullProtocolPath);
    messages_.Error({"Невозможно открыть файл полного протокола "_cp + shown + ".\n Возможно он уже существует."_cp,
                     "The file " + shown + " of full protocol cann't be opened.\n Probably it exists already."});
    return false;
  }
  fullProtocol_ = fullProtocolPath;
  return true;
}

bool TProtocolRecorder::OpenJournal(const std::string& path) {
  if (demonstrating_) return false;
  std::error_code ignored;
  fs::remove(NativePath(path), ignored);
  if (!CreateEmpty(path) || !AppendListToFile(path, Lines)) {
    journal_.clear();
    messages_.Error({"Не удалось открыть файл протокола."_cp, "Unable to the open protocol file."});
    return false;
  }
  journal_ = path;
  return true;
}

bool TProtocolRecorder::MoveJournal(const std::string& path) {
  std::error_code error;
  fs::rename(NativePath(journal_), NativePath(path), error);
  if (error) return false;
  journal_ = path;
  return true;
}

void TProtocolRecorder::Close() {
  journal_.clear();
  fullProtocol_.clear();
}

void TProtocolRecorder::EndDemonstration() {
  if (!demonstrating_) return;
  demonstrating_ = false;
  fullProtocol_.clear();
  if (static_cast<std::size_t>(verify_) < Lines.size()) Lines.resize(static_cast<std::size_t>(verify_));
  // The replay stops between steps: the last one keeps the empty line that
  // ends it, so that the student's next step is a step of its own.
  if (static_cast<int>(Lines.size()) > kSettingLines && !Lines.back().empty()) Lines.emplace_back();
  PendingMarks = 0;
}

std::string_view TProtocolRecorder::WithoutMarks(std::string_view line, int* marks) {
  std::size_t end = line.size();
  while (end > 0 && line[end - 1] == '@') --end;
  if (marks != nullptr) *marks = static_cast<int>(line.size() - end);
  return line.substr(0, end);
}

void TProtocolRecorder::VerifyAfter(int beginning) {
  if (beginning < 0 || beginning >= static_cast<int>(Lines.size())) return;
  int marks = 0;
  WithoutMarks(Lines[beginning], &marks);
  marksRead_ = marks;
  marksPlaced_ = 0;
  verify_ = beginning + 1;
}

bool TProtocolRecorder::TakeRollBack() {
  const bool rolledBack = rolledBack_;
  rolledBack_ = false;
  return rolledBack;
}

void TProtocolRecorder::Verify(const std::string& line) {
  // Step separators are not compared: the steps show in what the driver writes.
  if (mismatch_ || line.empty()) return;
  const int count = static_cast<int>(Lines.size());
  while (verify_ < count && Trim(Lines[verify_]).empty()) ++verify_;
  if (verify_ >= count) {
    mismatch_ = TMismatch{verify_ + 1, "", line};
    return;
  }
  int marks = 0;
  const std::string_view found = WithoutMarks(Lines[verify_], &marks);
  // A timed replay has stored its time after the success line.
  const bool timed = Trim(line) == kProtocolKeywords[kSuccessfulEnd] && found.starts_with(line + " Time=");
  if (found != line && !timed) {
    mismatch_ = TMismatch{verify_ + 1, std::string(found), line};
    return;
  }
  marksRead_ += marks;
  ++verify_;
}

std::string TProtocolRecorder::Indented(std::string_view text) const {
  return std::string(3 * static_cast<std::size_t>(Indent), ' ') + std::string(text);
}

void TProtocolRecorder::PlaceMarks(std::string& line) {
  // A replay counts them: the protocol's lines are compared without marks.
  if (demonstrating_) {
    marksPlaced_ += PendingMarks;
    PendingMarks = 0;
    return;
  }
  // Owed marks go to the end of the last record, once the head of settings
  // and the beginning line are there; otherwise onto the new line.
  if (PendingMarks > 0 && static_cast<int>(Lines.size()) > kSettingLines && !Lines.back().empty()) {
    Lines.back().append(PendingMarks, '@');
    PendingMarks = 0;
  }
  if (PendingMarks > 0) {
    line.append(PendingMarks, '@');
    PendingMarks = 0;
  }
}

void TProtocolRecorder::Record(std::string line) {
  if (demonstrating_) {
    Verify(line);
    if (!fullProtocol_.empty()) AppendToFile(fullProtocol_, line);
    return;
  }
  if (!journal_.empty()) AppendToFile(journal_, line);
  Lines.push_back(std::move(line));
}

void TProtocolRecorder::WriteLine(std::string_view text) {
  if (Indent < 0) return;
  // The empty line ends a step: its records go to disk, so that the journal
  // holds every finished step should the machine stop.
  if (text.empty() && !journal_.empty()) SyncFile(journal_);
  // Never two empty lines in a row (a replayed protocol is not written).
  if (text.empty() && !demonstrating_ && !Lines.empty() && Lines.back().empty()) return;
  std::string line = text.empty() ? std::string() : Indented(text);
  PlaceMarks(line);
  Record(std::move(line));
}

void TProtocolRecorder::WritePair(std::string_view first, std::string_view second) {
  if (Indent < 0) return;
  std::string line = Indented(first);
  PlaceMarks(line);
  Record(std::move(line));
  Record(Indented(second));
}

void TProtocolRecorder::JournalUndo() {
  rolledBack_ = demonstrating_;
  if (!journal_.empty()) AppendToFile(journal_, kProtocolKeywords[kUndo]);
}

bool TProtocolRecorder::FindMark(int k) {
  int marks = 0;
  for (std::size_t j = 0; j < Lines.size(); ++j) {
    const std::string& line = Lines[j];
    for (auto c = line.rbegin(); c != line.rend() && *c == '@'; ++c) {
      if (++marks < k) continue;
      ReadPos = static_cast<int>(j) + 1;
      while (ReadPos < static_cast<int>(Lines.size()) && !Lines[ReadPos].empty()) ++ReadPos;
      if (demonstrating_) {
        verify_ = ReadPos;
        marksPlaced_ = marksRead_ = k;
      }
      return true;
    }
  }
  return false;
}

void TProtocolRecorder::TruncateAtReadPos() {
  if (!demonstrating_ && ReadPos >= 0 && static_cast<std::size_t>(ReadPos) < Lines.size()) Lines.resize(ReadPos);
}

bool TProtocolRecorder::AppendToFile(const std::string& path, std::string_view text) {
  return text.empty() || AppendText(path, text, false);
}

bool TProtocolRecorder::AppendListToFile(const std::string& path, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!AppendToFile(path, line)) return false;
  return true;
}

bool TProtocolRecorder::ReplaceLastLine(const std::string& path, std::string_view text) {
  std::fstream file(NativePath(path), std::ios::binary | std::ios::in | std::ios::out);
  if (!file) return false;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  // From two bytes before the end back to the line feed that ends the line before.
  std::streamoff at = size - 2;
  for (; at >= 0; --at) {
    file.seekg(at);
    if (file.get() == '\n') break;
  }
  file.clear();
  file.seekp(std::max<std::streamoff>(at, -1) + 1);
  file << text;
  return static_cast<bool>(file.flush());
}

}  // namespace lemmix
