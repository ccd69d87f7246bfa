// File access for the core. Paths inside the system are cp1251 and use "\" as
// stored files do; NativePath maps them for the file system (UTF-8, "/").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

std::string NativePath(const std::string& path);
// A path as messages show it: still cp1251, with the platform separator.
std::string DisplayPath(const std::string& path);
// The inverse: a file-system path as the system writes it, or nullopt when
// it has characters that Windows-1251 cannot hold.
std::optional<std::string> SystemPath(const std::string& nativePath);

bool FileExists(const std::string& path);

// The lines of a text file: CR LF, LF and
// a lone CR each end a line, and a final line break adds no empty line.
std::optional<std::vector<std::string>> ReadLines(const std::string& path);
std::vector<std::string> SplitLines(std::string_view bytes);

// Writes the lines, each ended by CR LF, to a temporary file beside `path`,
// flushes it to disk and renames it over the old file, so that a failed write
// or a crash leaves the old file as it was. False when the file could not be
// written.
bool WriteLinesReplacing(const std::string& path, const std::vector<std::string>& lines);
// The same for bytes written as they are.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// The steps of a replacing write; a test makes one of them fail.
enum class TWriteStep { Open, Write, Sync, Close, Rename };
void FailWriteStepForTesting(std::optional<TWriteStep> step);

// Appends the text to a file, first ending a last line that lacks its line
// break; with `lineEnd` the text's own line is ended too. False when the file
// cannot be written.
bool AppendText(const std::string& path, std::string_view text, bool lineEnd);
// Appends the text as one CR LF line to a log file.
inline bool AppendLogLine(const std::string& path, std::string_view text) { return AppendText(path, text, true); }

// Puts what was written to the file on disk (a journal after each step).
bool SyncFile(const std::string& path);

// The current working directory in the system's path form.
std::optional<std::string> WorkingDirectory();

}  // namespace lemmix
