// IdListSize and IdListConcat on well-formed lists of random records: the sizes count every
// record and the terminator, and the join is the two lists' records followed by one
// terminator, in a block of its own that goes back to the shell allocator.
#include <cstring>
#include <memory>
#include <string>

#include <winshim/control.h>

#include "fuzz_support.h"
#include "prnlink.h"

namespace {

// Records as raw bytes, without the terminator.
struct Lists {
    bool firstIsNull = false;
    bool secondIsNull = false;
    std::string first, second;
};

// Input: a flags byte (bit 0: no first list, bit 1: no second list), then records, each a
// length byte n (the record carries n bytes after its count) and its bytes; the length byte
// 0xFF moves on to the second list.
Lists ReadLists(std::string_view input)
{
    Lists lists;
    if (input.empty()) {
        return lists;
    }
    lists.firstIsNull = input[0] & 1;
    lists.secondIsNull = input[0] & 2;
    std::string* records = &lists.first;
    size_t at = 1;
    while (at < input.size()) {
        unsigned char length = static_cast<unsigned char>(input[at++]);
        if (length == 0xFF) {
            records = &lists.second;
            continue;
        }
        std::string bytes(input.substr(at, length));
        bytes.resize(length, '\0');
        at += length;
        const unsigned count = length + 2u;
        records->push_back(static_cast<char>(count & 0xFF));
        records->push_back(static_cast<char>(count >> 8));
        *records += bytes;
    }
    return lists;
}

// A list in a block of exactly its size, so that a read past the terminator is caught.
std::unique_ptr<BYTE[]> MakeList(const std::string& records)
{
    std::unique_ptr<BYTE[]> list(new BYTE[records.size() + 2]);
    std::memcpy(list.get(), records.data(), records.size());
    list[records.size()] = 0;
    list[records.size() + 1] = 0;
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::OpenScratchMachine(/*logCalls=*/false);
    Lists lists = ReadLists(input);
    auto first = MakeList(lists.first);
    auto second = MakeList(lists.second);
    auto* firstList = lists.firstIsNull ? nullptr : reinterpret_cast<LPCITEMIDLIST>(first.get());
    auto* secondList = lists.secondIsNull ? nullptr : reinterpret_cast<LPCITEMIDLIST>(second.get());

    fuzz::Require(IdListSize(firstList) == (firstList ? lists.first.size() + 2 : 0), "the first list's size", input);
    fuzz::Require(IdListSize(secondList) == (secondList ? lists.second.size() + 2 : 0), "the second list's size",
                  input);

    LPITEMIDLIST joined = IdListConcat(firstList, secondList);
    if (secondList == nullptr) {
        fuzz::Require(joined == nullptr, "no join without a second list", input);
    } else {
        std::string expected = (firstList ? lists.first : std::string()) + lists.second + std::string(2, '\0');
        fuzz::Require(joined != nullptr, "a join", input);
        fuzz::Require(IdListSize(joined) == expected.size(), "the join's size", input);
        fuzz::Require(std::memcmp(joined, expected.data(), expected.size()) == 0, "the join's bytes", input);
        IMalloc* shellMalloc = nullptr;
        SHGetMalloc(&shellMalloc);
        shellMalloc->Free(joined);
        shellMalloc->Release();
    }
    fuzz::Require(fuzz::NothingLive(), "every block and reference given back", input);
    return 0;
}
