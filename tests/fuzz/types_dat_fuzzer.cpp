// Feeds arbitrary bytes to the type catalogue reader as the contents of
// TYPES.DAT, then exercises what a loaded catalogue offers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shell/files.h"
#include "shell/recording_messages.h"
#include "types/type_name.h"
#include "types/types_proccess.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lemmix;
  RecordingMessages messages;
  TTypesProccess types(messages);
  types.LoadLines(SplitLines(std::string_view(reinterpret_cast<const char*>(data), size)), "TYPES.DAT");
  const std::size_t count = types.Types().size();
  for (std::size_t i = 0; i < count; ++i) {
    const TType& t = *types.Types()[i];
    TypeName(t, &messages);
    types.FindType(t.Name, true);
    types.Intern(types.Copy(t));
  }
  return 0;
}
