// The mathematical font added to the application's font database for the run.
#pragma once

#include "shell/fonts.h"

namespace lemmix {

class QtFontInstaller : public IFontInstaller {
 public:
  ~QtFontInstaller() override;
  bool Install(const std::string& path) override;
  void Uninstall() override;

 private:
  int fontId_ = -1;
};

}  // namespace lemmix
