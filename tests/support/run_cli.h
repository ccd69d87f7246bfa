// lemmix-cli run as a user runs it: its exit code and what it printed.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace lemmix::testing {

struct CliRun {
  int exitCode;
  std::string output;  // standard output and standard error together
};

inline CliRun RunCli(const std::string& arguments) {
  const std::string command = std::string(LEMMIX_CLI) + " " + arguments + " 2>&1";
  CliRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace lemmix::testing
