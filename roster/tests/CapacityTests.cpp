// The roster's upper bound on entries, met by an import.
#include "roster/RosterTexts.h"
#include "roster/tests/RosterTestSupport.h"

namespace vardolin::roster::test {
namespace {

using CapacityTest = NamesWorkbookTest;

TEST_F(CapacityTest, AFullRosterTakesNoMoreAndTheUserIsTold) {
    Entries entries;
    for (int i = 0; i < kMaxEntries - 2; ++i) entries.push_back(std::to_wstring(i));
    SetEntries(entries);
    AddPicking(L"A1:B3");  // four names, room for two
    ASSERT_EQ(Roster().Count(), kMaxEntries);
    EXPECT_EQ(Roster().Text(kMaxEntries - 1), L"李四");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, kRosterFullText);
    EXPECT_FALSE(messages_[0].topmostWhileShown);
    EXPECT_TRUE(IsTopmost());

    // Names already on the roster take no room.
    AddPicking(L"A1:B1");
    EXPECT_EQ(messages_.size(), 1u);
}

}  // namespace
}  // namespace vardolin::roster::test
