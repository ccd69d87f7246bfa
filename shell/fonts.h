// Installing the mathematical font for the run: the GUI adds it to its font
// database, the command line checks that it could be.
#pragma once

#include <string>

namespace lemmix {

class IFontInstaller {
 public:
  virtual ~IFontInstaller() = default;
  // Adds the font file for this run; false when it cannot be added.
  virtual bool Install(const std::string& path) = 0;
  // Removes what Install added; nothing when nothing was added.
  virtual void Uninstall() = 0;
};

// The file name of the mathematical font in the data directory.
inline constexpr const char* kMathFontFile = "Symbolon.ttf";

// Whether the file is there and begins as a TrueType or OpenType font does.
bool LooksLikeFontFile(const std::string& path);

}  // namespace lemmix
