#include <gtest/gtest.h>

#include "common/ProgramError.h"
#include "controls/Playlist.h"

namespace tb {
namespace {

TEST(PlaylistTest, HoldsAsManyEntriesAsASixteenBitIndexCountsAndRefusesOneMore) {
    Playlist list;
    while (list.ItemCount() < 32767) list.setItemCaption(list.ItemCount(), "entry");
    const auto errorOf = [](auto f) {
        try {
            f();
        } catch (const ProgramError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf([&] { list.AddItem("one more"); }), 6);
    EXPECT_EQ(errorOf([&] { list.setItemCaption(32767, "one more"); }), 6);
    EXPECT_EQ(list.ItemCount(), 32767);
    list.RedrawItems();
    EXPECT_EQ(list.Scroll.Max(), 32767 - Playlist::kRows);
    list.RemoveItem(0);
    list.AddItem("last");
    EXPECT_EQ(list.ItemCaption(32766), "last");
}

}  // namespace
}  // namespace tb
