// The data directory a run of the program starts in. A working directory that
// holds the catalogues stays the data directory, as it always was; a directory
// given on the command line comes first; otherwise the run works on the
// user's own copy of the data installed with the program, made at the first
// start and never overwritten afterwards (it holds the user's protocols and
// book changes). Paths here are file-system paths (UTF-8), not cp1251.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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

// The places of this run of the program, its executable in `executableDir`:
// the working directory, the data installed beside it, the user's directory
// as the environment (XDG_DATA_HOME, HOME) gives it.
TDataPlaces PlacesOfRun(const std::filesystem::path& executableDir);

// Chooses, and on the first start makes, the data directory. When nothing
// applies (no data here, nothing installed) the working directory is answered,
// so that the catalogue loaders name what is missing.
TDataChoice ChooseDataDirectory(const TDataPlaces& places);

// Editions of the installed data. The user's copy remembers the edition it
// was made from; when the program is upgraded and brings another one, the
// user is offered it. Taking it keeps the user's own files (the protocols
// under "Protocols", the journal, the log of verifications) and keeps the
// whole previous copy beside the new one, so that nothing is lost.

// A fingerprint of the data as installed: every file but the user's own.
std::string DataEdition(const std::filesystem::path& dir);

// The installed data is another edition than the one the user's copy was
// made from (or than the copy itself, when it does not remember), and the
// user did not decline it before.
bool OtherEditionInstalled(const TDataPlaces& places);
// Replaces the user's copy by the installed edition with the user's own files
// carried over; the previous copy is kept as <user>.previous (replacing an
// older one). The failure, with the copy left as it was.
std::optional<TMessage> TakeInstalledEdition(const TDataPlaces& places);
// The installed edition is not offered again (until another one is installed).
void DeclineInstalledEdition(const TDataPlaces& places);

}  // namespace lemmix
