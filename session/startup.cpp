#include "session/startup.h"

#include <clocale>

#include "intrinsics/st_func.h"
#include "book/statement.h"
#include "proofrun/assot.h"
#include "prover/method.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "types/types_proccess.h"

namespace lemmix {

bool RunStartup(TSession& session) {
  session.DemoRunning = false;
  // Every number in every data file is read and written with a point.
  std::setlocale(LC_NUMERIC, "C");
  session.StartupOk = false;
  const auto directory = WorkingDirectory();
  if (!directory) {
    session.Messages.Error({"Путь к рабочему каталогу недоступен или содержит символы вне кодировки Windows-1251."_cp,
                            "The working directory is not accessible or its path has characters outside "
                            "Windows-1251."});
    return false;
  }
  session.Dir = *directory;
  return LoadCatalogues(session);
}

bool LoadCatalogues(TSession& session) {
  session.BookPath = session.Dir + "\\book";
  session.StartupOk = false;
  session.StartupOk = session.NewTypes().Load(session.Dir);
  if (!session.StartupOk) return false;
  session.StartupOk = session.NewStFunc().LoadIntrinsics(session.Dir);
  if (!session.StartupOk) return false;
  session.AssotProccess = std::make_unique<TAssotProccess>(*session.StFunc, session.Messages);
  session.StartupOk = false;
  // A missing font does not stop the start: formulas are then drawn without it.
  if (session.Fonts != nullptr && !session.Fonts->Install(session.Dir + "\\" + kMathFontFile))
    session.Messages.Error({"Не удалось установить шрифт Symbolon.ttf"_cp, "Font Symbolon.ttf is not installed."});
  session.StartupOk = session.AssotProccess->LoadAssot(session.Dir);
  // Method statements build their data as the book is read, with these catalogues.
  TStatement::SetMethodBuilder([](const TStatement& statement) { return SetMethodData(statement); });
  return session.StartupOk;
}

}  // namespace lemmix
