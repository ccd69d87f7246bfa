#include "shell/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "shell/cp1251.h"

namespace lemmix {

namespace fs = std::filesystem;

std::string NativePath(const std::string& path) {
  std::string native = Cp1251ToUtf8(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

std::string DisplayPath(const std::string& path) {
  std::string shown = path;
  for (char& c : shown)
    if (c == '\\') c = '/';
  return shown;
}

std::optional<std::string> SystemPath(const std::string& nativePath) {
  std::string path = Utf8ToCp1251(nativePath);
  if (Cp1251ToUtf8(path) != nativePath) return std::nullopt;
  return path;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(NativePath(path), error);
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  // A directory opens as a stream on some systems and then fails on reading.
  std::error_code error;
  if (!fs::is_regular_file(NativePath(path), error)) return std::nullopt;
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
  if (in.bad()) return std::nullopt;
  return SplitLines(bytes);
}

std::optional<std::string> WorkingDirectory() {
  std::error_code error;
  const fs::path cwd = fs::current_path(error);
  if (error) return std::nullopt;
  return SystemPath(cwd.string());
}


namespace {

std::optional<TWriteStep> failingStep;

bool Fails(TWriteStep step) { return failingStep == step; }

// Writes all the bytes to the descriptor; false on any error.
bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void FailWriteStepForTesting(std::optional<TWriteStep> step) { failingStep = step; }

bool WriteLinesReplacing(const std::string& path, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return WriteFileReplacing(path, bytes);
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  const fs::path target(NativePath(path));
  fs::path temporary = target;
  temporary += ".tmp~";
  const auto drop = [&] {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  };
  const int fd = Fails(TWriteStep::Open) ? -1 : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;  // nothing of ours to take away
  // The bytes reach the disk before the new file takes the old one's name:
  // a crash leaves either the old file or the whole new one.
  const bool written = !Fails(TWriteStep::Write) && WriteAll(fd, bytes);
  const bool synced = written && !Fails(TWriteStep::Sync) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0 && !Fails(TWriteStep::Close);
  if (!written || !synced || !closed) return drop();
  std::error_code error;
  if (Fails(TWriteStep::Rename)) return drop();
  fs::rename(temporary, target, error);
  if (error) return drop();
  // The rename itself is kept by syncing the directory that holds it.
  const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool SyncFile(const std::string& path) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

bool AppendText(const std::string& path, std::string_view text, bool lineEnd) {
  const std::string native = NativePath(path);
  bool endsLine = true;
  if (std::ifstream existing(native, std::ios::binary | std::ios::ate); existing && existing.tellg() > 0) {
    existing.seekg(-1, std::ios::end);
    endsLine = existing.get() == '\n';
  }
  std::ofstream log(native, std::ios::binary | std::ios::app);
  if (!log) return false;
  if (!endsLine) log << "\r\n";
  log << text;
  if (lineEnd) log << "\r\n";
  return static_cast<bool>(log.flush());
}

}  // namespace lemmix
