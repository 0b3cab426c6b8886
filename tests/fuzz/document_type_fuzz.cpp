// RegisterDocumentType with any tail: the run ends with 1, both commands hold the tail byte for
// byte as REG_SZ, the registry file still loads, and nothing is left open.
#include <string>

#include <winshim/control.h>

#include "fuzz_support.h"
#include "register_document_type.h"
#include "registry_document.h"

namespace {

const std::string kClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";

bool HoldsText(const winshim::RegistryDocument& registry, const std::string& key, const std::string& name,
               const std::string& text)
{
    const winshim::RegistryKey* stored = registry.Find(kClasses + key);
    if (stored == nullptr || stored->keyClass != "Nothing") {
        return false;
    }
    std::string data = text + std::string(1, '\0');
    for (const auto& value : stored->values) {
        if (value.name == name && value.isDefault == name.empty()) {
            return value.type == REG_SZ && value.data == std::vector<BYTE>(data.begin(), data.end());
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<char> tail = fuzz::CString(input);
    fuzz::OpenScratchMachine(/*logCalls=*/false);

    fuzz::Require(RegisterDocumentType(tail.data()) == 1, "the run ends with 1", input);

    auto registry = winshim::RegistryDocument::Parse(winshim::RegistryText());
    fuzz::Require(registry.has_value(), "the registry still loads", input);
    fuzz::Require(HoldsText(*registry, ".qzv", "", "qzvfile"), "the extension's type", input);
    fuzz::Require(HoldsText(*registry, ".qzv\\ShellNew", "Command", tail.data()), "the New-file command", input);
    fuzz::Require(HoldsText(*registry, "qzvfile", "", "Brannic Document"), "the type's name", input);
    fuzz::Require(HoldsText(*registry, "qzvfile\\Shell\\Open\\Command", "", tail.data()), "the Open command", input);
    fuzz::Require(fuzz::NothingLive(), "every key closed", input);
    return 0;
}
