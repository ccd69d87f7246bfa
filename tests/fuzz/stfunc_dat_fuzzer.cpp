// Feeds arbitrary bytes to the intrinsic function reader as STFUNC.DAT and,
// after the first NUL byte, to the couples reader as COUPLES.DAT; then looks
// up what was read.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "intrinsics/st_func.h"
#include "shell/files.h"
#include "shell/recording_messages.h"
#include "types/types_proccess.h"

namespace {

lemmix::TTypesProccess& Types() {
  static lemmix::RecordingMessages messages;
  static const auto types = [] {
    auto t = std::make_unique<lemmix::TTypesProccess>(messages);
    t->LoadLines({"String = AnyT", "Base = simpleBT", "String = rT", "Base = simpleBT", "String = lT",
                  "Base = simpleBT", "String = RelT", "Base = funBT", "AddArg = rT", "AddArg = rT", "Value = lT"},
                 "TYPES.DAT");
    return t;
  }();
  return *types;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = bytes.find('\0');
  RecordingMessages messages;
  TStFunc stFunc(Types(), messages);
  if (stFunc.LoadIntrinsicLines(SplitLines(bytes.substr(0, split)), "STFUNC.DAT") && split != std::string_view::npos)
    stFunc.LoadCoupleLines(SplitLines(bytes.substr(split + 1)), "COUPLES.DAT");
  for (const auto& f : stFunc.IntrList) {
    stFunc.FindByWord(f->Name, true);
    stFunc.FindAntonymByWord("\\NOT" + f->Name);
    stFunc.ConcreteTypeEntry(*f, f->DefaultType);
    LettersToUtf8(f->Visual);
  }
  for (const char key : TStFunc::kKeyChars)
    for (int reg = 0; reg < TStFunc::kRegisters; ++reg) stFunc.HotKeyLookup(key, reg);
  return 0;
}
