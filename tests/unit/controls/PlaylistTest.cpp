#include <gtest/gtest.h>

#include "controls/Playlist.h"
#include "support/ControlTestHost.h"

namespace tb {
namespace {

TEST(PlaylistTest, HoldsAsManyEntriesAsASixteenBitIndexCountsAndRefusesOneMore) {
    Playlist list;
    while (list.ItemCount() < 32767) list.setItemCaption(list.ItemCount(), "entry");
    EXPECT_EQ(test::errorOf([&] { list.AddItem("one more"); }), 6);
    EXPECT_EQ(test::errorOf([&] { list.setItemCaption(32767, "one more"); }), 6);
    EXPECT_EQ(list.ItemCount(), 32767);
    list.RedrawItems();
    EXPECT_EQ(list.Scroll.Max(), 32767 - Playlist::kRows);
    list.RemoveItem(0);
    list.AddItem("last");
    EXPECT_EQ(list.ItemCaption(32766), "last");
}

}  // namespace
}  // namespace tb
