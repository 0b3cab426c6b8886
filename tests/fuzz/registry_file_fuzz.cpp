// The registry file loader on any bytes: the text loads or is refused, and a loaded file,
// saved and loaded again, gives the same keys, classes and values.
#include <string>

#include "fuzz_support.h"
#include "registry_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto loaded = winshim::RegistryDocument::Parse(input);
    if (!loaded) {
        return 0;
    }
    std::string saved = loaded->Serialize();
    auto reloaded = winshim::RegistryDocument::Parse(saved);
    fuzz::Require(reloaded.has_value(), "a saved file loads again", input);

    const auto& before = loaded->Keys();
    const auto& after = reloaded->Keys();
    fuzz::Require(before.size() == after.size(), "the same number of keys", input);
    for (size_t i = 0; i < before.size(); ++i) {
        fuzz::Require(before[i].path == after[i].path, "the same key paths", input);
        fuzz::Require(before[i].keyClass == after[i].keyClass, "the same classes", input);
        fuzz::Require(before[i].values == after[i].values, "the same values", input);
    }
    fuzz::Require(reloaded->Serialize() == saved, "saving again gives the same text", input);
    return 0;
}
