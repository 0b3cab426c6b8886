// Item identifier lists: size, step, allocation and join.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "prnlink.h"

namespace {

// A list of records of the given sizes; each record's bytes tell it apart from the others.
std::string MakeList(const std::vector<int>& sizes, char tag)
{
    std::string bytes;
    for (size_t i = 0; i < sizes.size(); ++i) {
        bytes += char(sizes[i] & 0xFF);
        bytes += char(sizes[i] >> 8);
        bytes += std::string(size_t(sizes[i] - 2), char(tag + i));
    }
    return bytes + std::string(2, '\0');
}

LPCITEMIDLIST AsList(const std::string& bytes)
{
    return reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}

void FreeShellBlock(void* block)
{
    IMalloc* shellMalloc = nullptr;
    ASSERT_EQ(S_OK, SHGetMalloc(&shellMalloc));
    shellMalloc->Free(block);
    shellMalloc->Release();
}

using IdListTest = MachineTest;

TEST_F(IdListTest, SizeCountsTheRecordsAndTheTerminator)
{
    EXPECT_EQ(0u, IdListSize(nullptr));
    EXPECT_EQ(2u, IdListSize(AsList(MakeList({}, 'a'))));
    EXPECT_EQ(36u, IdListSize(AsList(MakeList({20, 14}, 'a'))));
    EXPECT_EQ(70000u, IdListSize(AsList(MakeList({40000, 29998}, 'a'))));
}

TEST_F(IdListTest, NextStepsOverOneRecordAndStaysOnTheTerminator)
{
    std::string list = MakeList({20, 14}, 'a');
    const BYTE* start = reinterpret_cast<const BYTE*>(list.data());
    EXPECT_EQ(start + 20, reinterpret_cast<const BYTE*>(IdListNext(AsList(list))));
    LPCITEMIDLIST terminator = IdListNext(IdListNext(AsList(list)));
    EXPECT_EQ(start + 34, reinterpret_cast<const BYTE*>(terminator));
    EXPECT_EQ(terminator, IdListNext(terminator));
}

TEST_F(IdListTest, ShellAllocZeroedGivesZeroBytesAndReleasesItsAllocator)
{
    auto* block = static_cast<unsigned char*>(ShellAllocZeroed(40));
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(std::string(40, '\0'), std::string(reinterpret_cast<char*>(block), 40));
    EXPECT_EQ(0, winshim::Live().references);
    EXPECT_EQ((std::vector<std::string>{"SHGetMalloc", "IMalloc::Alloc", "IMalloc::Release"}), winshim::CallNames());
    FreeShellBlock(block);
    ExpectNothingLive();
}

struct ConcatCase {
    const char* what;
    std::optional<std::vector<int>> first;  // none: a null first list
    std::vector<int> second;
    std::vector<int> joined;
};

const ConcatCase kJoins[] = {
    {"records of both lists", std::vector<int>{20, 14}, {30}, {20, 14, 30}},
    {"null first list copies the second", std::nullopt, {30, 4}, {30, 4}},
    {"empty second list copies the first", std::vector<int>{20, 14}, {}, {20, 14}},
    {"two empty lists", std::vector<int>{}, {}, {}},
};

class IdListConcatTest : public MachineTest, public ::testing::WithParamInterface<ConcatCase> {};

TEST_P(IdListConcatTest, JoinsIntoANewList)
{
    const ConcatCase& c = GetParam();
    std::string first = c.first ? MakeList(*c.first, 'a') : std::string();
    std::string second = MakeList(c.second, 'a' + char(c.first ? c.first->size() : 0));
    std::string expected = MakeList(c.joined, 'a');

    LPITEMIDLIST joined = IdListConcat(c.first ? AsList(first) : nullptr, AsList(second));

    ASSERT_NE(nullptr, joined);
    EXPECT_EQ(expected.size(), IdListSize(joined));
    EXPECT_EQ(expected, std::string(reinterpret_cast<const char*>(joined), expected.size()));
    EXPECT_EQ(1, winshim::Live().allocations);
    FreeShellBlock(joined);
    ExpectNothingLive();
}

INSTANTIATE_TEST_SUITE_P(Joins, IdListConcatTest, ::testing::ValuesIn(kJoins));

TEST_F(IdListTest, ConcatWithoutASecondListMakesNothing)
{
    std::string first = MakeList({20}, 'a');
    EXPECT_EQ(nullptr, IdListConcat(AsList(first), nullptr));
    EXPECT_EQ(nullptr, IdListConcat(nullptr, nullptr));
    ExpectNothingLive();
}

TEST_F(IdListTest, ConcatWithoutABlockReturnsNullAndLeavesBothLists)
{
    for (const char* refused : {"SHGetMalloc", "IMalloc::Alloc"}) {
        SCOPED_TRACE(refused);
        winshim::FailCall(refused, 1, E_OUTOFMEMORY);
        std::string first = MakeList({20, 14}, 'a');
        std::string second = MakeList({30}, 'c');
        const std::string firstBefore = first, secondBefore = second;

        EXPECT_EQ(nullptr, IdListConcat(AsList(first), AsList(second)));

        EXPECT_EQ(firstBefore, first);
        EXPECT_EQ(secondBefore, second);
        ExpectNothingLive();
    }
}

}  // namespace
