// Playlist strings for the demo player's callers, kept in the low 2 GB of its address space:
// the player answers with 32-bit addresses, which a client takes as signed numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "standin/PlayerModel.h"

namespace demoplayer {

class LowStringStore : public tb::model::StringStore {
public:
    // Each string gets its own slot in a ring, so an address stays valid for a while.
    static constexpr std::size_t kSlotSize = 8192;
    static constexpr std::size_t kSlots = 16;
    static constexpr std::size_t kPage = 4096;

    // `beforeUnreadable` places every string so that its zero byte is the last readable byte
    // before a page that cannot be read, for tests of reads that fail partway.
    explicit LowStringStore(bool beforeUnreadable) : beforeUnreadable_(beforeUnreadable) {}
    ~LowStringStore() override;

    // Reserves the region; false when no address below 2 GB could be had.
    bool init();
    std::uint64_t placeString(std::string_view text) override;

private:
    bool beforeUnreadable_;
    char* base_ = nullptr;
    std::size_t next_ = 0;
};

}  // namespace demoplayer
