// Saving a proof's protocol as NAME.prt: in developer mode beside the
// statement (its protocol directory), in user mode in its mirror under
// "Protocols", where a developer's protocol name may not be taken.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmix {

class IMessages;
class IQuestions;
class TStatement;

// The first character the name may not hold, in the order they are tested:
// backslash, slash, asterisk, question mark, less-than, bar, colon, quote.
std::optional<char> InvalidProtocolNameChar(std::string_view name);

// The directory protocols of the statement are saved in for the mode, made
// when missing; nothing, after its message, when it cannot be made.
std::optional<std::string> ProtocolSaveDirectory(const TStatement& statement, bool developerMode, IMessages& messages);

enum class TSaveVerdict {
  Saved,
  AskAgain,  // the name was refused or the user would not overwrite: ask for another
  Failed,    // the file could not be written
};

// Writes the lines to DIRECTORY\NAME.prt after the checks of the name; an
// existing file is overwritten only when the user says so.
TSaveVerdict SaveProtocolAs(const TStatement& statement, const std::string& directory, std::string_view name,
                            const std::vector<std::string>& lines, bool developerMode, IMessages& messages,
                            IQuestions& questions);

}  // namespace lemmix
