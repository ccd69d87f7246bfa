#include "proofrun/method_proofs.h"

#include <optional>
#include <vector>

#include "book/statement.h"
#include "proofrun/demo.h"
#include "shell/files.h"

namespace lemmix {
namespace {

// The statement's own protocols (those beside it) in name order: each one's lines.
std::vector<std::vector<std::string>> ProtocolsOf(const TStatement& statement) {
  std::vector<std::vector<std::string>> protocols;
  for (const std::string& name : statement.ProtocolNames(false))
    if (std::optional<std::vector<std::string>> lines =
            ReadLines(statement.ProtocolDirectory() + "\\" + name + ".prt"))
      protocols.push_back(std::move(*lines));
  return protocols;
}

void Append(std::string& key, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) key += line + '\n';
  key += '\f';
}

}  // namespace

bool TMethodProofs::Proved(const TBook& book, const TStatement& statement, const TAssotProccess* assot) {
  if (replaying_.contains(&statement)) return false;
  const std::vector<std::vector<std::string>> protocols = ProtocolsOf(statement);
  std::string key;
  Append(key, statement.Lines);
  for (const std::vector<std::string>& lines : protocols) Append(key, lines);
  const auto known = known_.find(statement.Path);
  if (known != known_.end() && known->second.first == key) return known->second.second;

  replaying_.insert(&statement);
  bool proved = false;
  for (const std::vector<std::string>& lines : protocols)
    if ((proved = VerifyProtocol(book, statement, lines, assot, this).Passed)) break;
  replaying_.erase(&statement);
  known_[statement.Path] = {std::move(key), proved};
  return proved;
}

}  // namespace lemmix
