// The data directory a run of the program starts in. A working directory that
// holds the catalogues stays the data directory, as it always was; a directory
// given on the command line comes first; otherwise the run works on the
// user's own copy of the data installed with the program, made at the first
// start and never overwritten afterwards (it holds the user's protocols and
// book changes). Paths here are file-system paths (UTF-8), not cp1251.
#pragma once

#include <filesystem>
#include <optional>

#include "shell/message.h"

namespace lemmix {

struct TDataPlaces {
  std::filesystem::path Working;              // the working directory at start
  std::optional<std::filesystem::path> Given;  // named on the command line
  std::filesystem::path Installed;            // the data installed with the program
  std::filesystem::path User;                 // where the user's copy lives; empty: none
};

struct TDataChoice {
  std::filesystem::path Dir;  // empty when Error is set
  bool Copied = false;        // the installed data was copied to the user's directory by this call
  std::optional<TMessage> Error;
};

// A data directory is recognised by its type catalogue, the first file the start reads.
bool HoldsData(const std::filesystem::path& dir);

// The installed data beside an executable in <prefix>/bin: <prefix>/share/lemmix/data.
std::filesystem::path InstalledDataDir(const std::filesystem::path& executableDir);

// $XDG_DATA_HOME/lemmix/data, or ~/.local/share/lemmix/data when XDG_DATA_HOME is
// unset, empty or relative (as the XDG base directory rules say); empty when
// neither variable gives a directory.
std::filesystem::path UserDataDir(const char* xdgDataHome, const char* home);

// Chooses, and on the first start makes, the data directory. When nothing
// applies (no data here, nothing installed) the working directory is answered,
// so that the catalogue loaders name what is missing.
TDataChoice ChooseDataDirectory(const TDataPlaces& places);

}  // namespace lemmix
