#include "shell/startup.h"

#include <clocale>

#include "proofrun/assot.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace lemmix {

bool RunStartup(TContext& context) {
  context.DemoRunning = false;
  // Every number in every data file is read and written with a point.
  std::setlocale(LC_NUMERIC, "C");
  context.StartupOk = false;
  const auto directory = WorkingDirectory();
  if (!directory) {
    context.Messages.Error({"Путь к рабочему каталогу недоступен или содержит символы вне кодировки Windows-1251."_cp,
                            "The working directory is not accessible or its path has characters outside "
                            "Windows-1251."});
    return false;
  }
  context.Dir = *directory;
  return LoadCatalogues(context);
}

bool LoadCatalogues(TContext& context) {
  context.BookPath = context.Dir + "\\book";
  context.StartupOk = false;
  context.TypesProccess = std::make_unique<TTypesProccess>(context.Messages);
  context.StartupOk = context.TypesProccess->Load(context.Dir);
  if (!context.StartupOk) return false;
  context.StFunc = std::make_unique<TStFunc>(*context.TypesProccess, context.Messages);
  context.StartupOk = context.StFunc->LoadIntrinsics(context.Dir);
  if (!context.StartupOk) return false;
  context.AssotProccess = std::make_unique<TAssotProccess>(*context.StFunc, context.Messages);
  context.StartupOk = false;
  // A missing font does not stop the start: formulas are then drawn without it.
  if (context.Fonts != nullptr && !context.Fonts->Install(context.Dir + "\\" + kMathFontFile))
    context.Messages.Error({"Не удалось установить шрифт Symbolon.ttf"_cp, "Font Symbolon.ttf is not installed."});
  context.StartupOk = context.AssotProccess->LoadAssot(context.Dir);
  return context.StartupOk;
}

}  // namespace lemmix
