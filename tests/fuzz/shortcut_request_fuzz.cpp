// ParseShortcutRequest on any tail: it succeeds exactly when the field syntax finds three
// fields that fit their buffers, and then gives those fields, zero-filled behind them.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "prnlink.h"

namespace {

struct Fields {
    bool parses = false;
    std::string iconLocation, printerName, shortcutName;
};

// The syntax: an icon path up to the first space, then the first two double-quoted texts
// after that space. A field must be non-empty and leave room for its terminator.
Fields Predict(std::string_view tail)
{
    Fields fields;
    size_t space = tail.find(' ');
    if (space == std::string_view::npos) {
        return fields;
    }
    size_t quotes[4];
    size_t from = space;
    for (size_t& quote : quotes) {
        quote = tail.find('"', from);
        if (quote == std::string_view::npos) {
            return fields;
        }
        from = quote + 1;
    }
    fields.iconLocation = tail.substr(0, space);
    fields.printerName = tail.substr(quotes[0] + 1, quotes[1] - quotes[0] - 1);
    fields.shortcutName = tail.substr(quotes[2] + 1, quotes[3] - quotes[2] - 1);
    auto fits = [](const std::string& text, size_t size) { return !text.empty() && text.size() < size; };
    fields.parses = fits(fields.iconLocation, MAX_PATH) && fits(fields.printerName, NAME_FIELD_SIZE) &&
                    fits(fields.shortcutName, NAME_FIELD_SIZE);
    return fields;
}

// The field holds the text and nothing but zeros behind it.
bool Holds(const char* field, size_t size, const std::string& text)
{
    if (std::memcmp(field, text.data(), text.size()) != 0) {
        return false;
    }
    for (size_t i = text.size(); i < size; ++i) {
        if (field[i] != '\0') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::OpenScratchMachine(/*logCalls=*/false);
    std::vector<char> tail = fuzz::CString(input);
    auto request = std::make_unique<ShortcutRequest>();
    std::memset(request.get(), 0xAA, sizeof *request);

    BOOL parsed = ParseShortcutRequest(tail.data(), request.get());

    Fields expected = Predict(tail.data());
    fuzz::Require(!parsed == !expected.parses, "the parse succeeds exactly when the syntax predicts", input);
    if (parsed) {
        fuzz::Require(Holds(request->iconLocation, MAX_PATH, expected.iconLocation), "iconLocation", input);
        fuzz::Require(Holds(request->printerName, NAME_FIELD_SIZE, expected.printerName), "printerName", input);
        fuzz::Require(Holds(request->shortcutName, NAME_FIELD_SIZE, expected.shortcutName), "shortcutName", input);
    }
    return 0;
}
