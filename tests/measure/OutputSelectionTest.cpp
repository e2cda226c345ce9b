#include "measure/OutputSelection.h"

#include "ImageFileTestSupport.h"
#include "measure/OutputItemsFile.h"

#include <cstring>
#include <gtest/gtest.h>

namespace halvera {
namespace {

std::vector<int> AllItems() {
    std::vector<int> items;
    for (int k = 0; k < kDataItemCount; ++k)
        items.push_back(k);
    return items;
}

TEST(OutputSelection, StartsWithEveryItemInOrder) {
    const OutputSelection selection;
    EXPECT_EQ(selection.items(), AllItems());
    EXPECT_TRUE(selection.contains(32));
}

TEST(OutputSelection, AddKeepsPickOrderAndListsAnItemOnce) {
    OutputSelection selection = OutputSelection::NoItems();
    EXPECT_TRUE(selection.items().empty());
    EXPECT_TRUE(selection.add(14));
    EXPECT_FALSE(selection.add(14));
    EXPECT_TRUE(selection.add(2));
    EXPECT_FALSE(selection.add(33));
    EXPECT_FALSE(selection.add(-1));
    EXPECT_EQ(selection.items(), (std::vector<int>{14, 2}));
    EXPECT_EQ(selection.slotValues()[2], OutputSelection::kEmpty);
}

TEST(OutputSelection, RemovingMovesLaterSlotsUp) {
    OutputSelection selection;
    selection.removeAt(0);
    selection.removeAt(5);
    std::vector<int> expected = AllItems();
    expected.erase(expected.begin() + 6);
    expected.erase(expected.begin());
    EXPECT_EQ(selection.items(), expected);
    EXPECT_EQ(selection.slotValues()[31], OutputSelection::kEmpty);
    EXPECT_EQ(selection.slotValues()[32], OutputSelection::kEmpty);
    selection.removeAt(31); // an empty slot: nothing to remove
    selection.removeAt(-1);
    EXPECT_EQ(selection.items(), expected);
    // The freed item can be picked again, and goes last.
    EXPECT_TRUE(selection.add(0));
    EXPECT_EQ(selection.items().back(), 0);
}

TEST(OutputSelection, SlotsFromAFileDropOutOfRangeValuesAndRepeats) {
    std::array<int, OutputSelection::kSlots> slots;
    slots.fill(-1);
    slots[0] = 40;
    slots[1] = 7;
    slots[2] = -5;
    slots[3] = 7;
    slots[4] = 0;
    slots[32] = 32;
    const OutputSelection selection = OutputSelection::FromSlots(slots);
    EXPECT_EQ(selection.items(), (std::vector<int>{7, 0, 32}));
    EXPECT_FALSE(selection.contains(40));
}

TEST(OutputItemsFile, RoundTripAndLayout) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("Items.Itm");
    OutputSelection written = OutputSelection::NoItems();
    for (int k : {23, 0, 17, 5})
        written.add(k);
    ASSERT_TRUE(WriteOutputItemsFile(path, written));

    const testing::Bytes bytes = testing::ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 142u);
    EXPECT_EQ(std::memcmp(bytes.data(), "MDATALIST\0", 10), 0);
    EXPECT_EQ(testing::Little32At(bytes, 10), 23u);
    EXPECT_EQ(testing::Little32At(bytes, 22), 5u);
    EXPECT_EQ(testing::Little32At(bytes, 26), 0xFFFFFFFFu);

    OutputSelection read;
    ASSERT_EQ(ReadOutputItemsFile(path, read), RecordRead::Done);
    EXPECT_EQ(read, written);
}

TEST(OutputItemsFile, ValuesOutsideTheItemsSelectNothing) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("odd.Itm");
    ASSERT_TRUE(WriteOutputItemsFile(path, OutputSelection()));
    testing::Bytes bytes = testing::ReadFileBytes(path);
    testing::PutLittle32At(bytes, 10, 33);
    testing::PutLittle32At(bytes, 14, 0x80000000u);
    testing::WriteFileBytes(path, bytes);

    OutputSelection read = OutputSelection::NoItems();
    ASSERT_EQ(ReadOutputItemsFile(path, read), RecordRead::Done);
    std::vector<int> expected = AllItems();
    expected.erase(expected.begin(), expected.begin() + 2);
    EXPECT_EQ(read.items(), expected);
}

TEST(OutputItemsFile, WrongMagicShortOrMissingFileChangesNothing) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("bad.Itm");
    ASSERT_TRUE(WriteOutputItemsFile(path, OutputSelection::NoItems()));
    const testing::Bytes good = testing::ReadFileBytes(path);
    for (size_t at = 0; at < 10; ++at) {
        testing::Bytes bad = good;
        bad[at] = bad[at] == 0 ? 'X' : 0;
        testing::WriteFileBytes(path, bad);
        OutputSelection selection;
        EXPECT_EQ(ReadOutputItemsFile(path, selection), RecordRead::WrongFormat) << "byte " << at;
        EXPECT_EQ(selection, OutputSelection());
    }
    testing::WriteFileBytes(path, testing::Bytes(good.begin(), good.begin() + 141));
    OutputSelection selection;
    EXPECT_EQ(ReadOutputItemsFile(path, selection), RecordRead::WrongFormat);
    EXPECT_EQ(ReadOutputItemsFile(folder.file("none.Itm"), selection), RecordRead::CannotOpen);
    EXPECT_EQ(selection, OutputSelection());
}

TEST(OutputItemsFile, SavingOverALongerFileLeavesNoOldBytes) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("Items.Itm");
    testing::WriteFileBytes(path, testing::Bytes(1000, 0x5A));
    ASSERT_TRUE(WriteOutputItemsFile(path, OutputSelection()));
    EXPECT_EQ(testing::ReadFileBytes(path).size(), 142u);
}

} // namespace
} // namespace halvera
