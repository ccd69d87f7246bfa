#include "proofrun/protocol_files.h"

#include <algorithm>
#include <filesystem>

#include "book/statement.h"
#include "shell/cp1251.h"
#include "shell/files.h"
#include "shell/message.h"

namespace lemmix {

std::optional<char> InvalidProtocolNameChar(std::string_view name) {
  for (const char c : std::string_view("\\/*?<|:\""))
    if (name.find(c) != std::string_view::npos) return c;
  return std::nullopt;
}

std::optional<std::string> ProtocolSaveDirectory(const TStatement& statement, bool developerMode, IMessages& messages) {
  const std::string directory = developerMode ? statement.ProtocolDirectory() : statement.UserProtocolDirectory();
  std::error_code error;
  std::filesystem::create_directories(NativePath(directory), error);
  if (!std::filesystem::is_directory(NativePath(directory), error)) {
    messages.Error({"Не удалось создать директорию для протокола."_cp, "Unable to create folder for protocol"});
    return std::nullopt;
  }
  return directory;
}

TSaveVerdict SaveProtocolAs(const TStatement& statement, const std::string& directory, std::string_view name,
                            const std::vector<std::string>& lines, bool developerMode, IMessages& messages,
                            IQuestions& questions) {
  if (const std::optional<char> c = InvalidProtocolNameChar(name)) {
    messages.Error({"Имя файла содержит недопустимый символ: "_cp + *c,
                    "File name contains invalid symbol: " + std::string(1, *c)});
    return TSaveVerdict::AskAgain;
  }
  if (name.empty()) return TSaveVerdict::AskAgain;
  if (!developerMode) {
    const std::vector<std::string> developers = statement.ProtocolNames(false);
    if (std::find(developers.begin(), developers.end(), name) != developers.end()) {
      messages.Error({"Это имя имеет файл протокола, созданный разработчиком.\n Введите другое имя."_cp,
                      "This name is used by protcol file created by developers.\n Input another name."});
      return TSaveVerdict::AskAgain;
    }
  }
  const std::string path = directory + "\\" + std::string(name) + ".prt";
  if (FileExists(path) && !questions.Ask({"Файл с этим именем уже существует.\n ПЕРЕЗАПИСАТЬ ?"_cp,
                                          "A file of this name exists already.\n Overwrite it?"}))
    return TSaveVerdict::AskAgain;
  if (WriteLinesReplacing(path, lines)) return TSaveVerdict::Saved;
  const std::string shown = DisplayPath(path);
  messages.Error({"Не удалось записать файл протокола "_cp + shown, "Unable to write the protocol file " + shown});
  return TSaveVerdict::Failed;
}

}  // namespace lemmix
