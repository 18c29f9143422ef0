#include "LowStringStore.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace demoplayer {

namespace {
constexpr std::size_t kRingBytes = LowStringStore::kSlotSize * LowStringStore::kSlots;
// The ring, then one page that cannot be read.
constexpr std::size_t kRegionBytes = kRingBytes + LowStringStore::kPage;
constexpr std::uintptr_t kTwoGiB = 0x80000000u;
}  // namespace

LowStringStore::~LowStringStore() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
}

bool LowStringStore::init() {
    // A 64-bit process gets high addresses by default; ask for low ones explicitly. The page
    // after the ring must be unreadable from outside: PAGE_NOACCESS is not enough under Wine,
    // which reads another process's memory past page protections, and Wine keeps most of the
    // low range mapped even when free. So look, from the top of the low 2 GB down, for room
    // whose next page a read really cannot reach.
    for (std::uintptr_t at = 0x7E000000; at >= 0x10000000; at -= 0x01000000) {
        void* room = VirtualAlloc(reinterpret_cast<void*>(at), kRegionBytes,
                                  MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!room) continue;
        VirtualFree(room, 0, MEM_RELEASE);
        auto* base = static_cast<char*>(
            VirtualAlloc(room, kRingBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!base) continue;
        char probe = 0;
        SIZE_T got = 0;
        if (!ReadProcessMemory(GetCurrentProcess(), base + kRingBytes, &probe, 1, &got)) {
            base_ = base;
            return true;
        }
        VirtualFree(base, 0, MEM_RELEASE);
    }
    // Windows itself honours PAGE_NOACCESS.
    for (std::uintptr_t at = 0x10000000; at + kRegionBytes < kTwoGiB; at += 0x01000000) {
        void* p = VirtualAlloc(reinterpret_cast<void*>(at), kRegionBytes, MEM_RESERVE | MEM_COMMIT,
                               PAGE_READWRITE);
        if (!p) continue;
        base_ = static_cast<char*>(p);
        DWORD old = 0;
        return VirtualProtect(base_ + kRingBytes, kPage, PAGE_NOACCESS, &old) != 0;
    }
    return false;
}

std::uint64_t LowStringStore::placeString(std::string_view text) {
    if (!base_) return 0;
    char* at = nullptr;
    if (beforeUnreadable_) {
        text = text.substr(0, std::min(text.size(), kRingBytes - 1));
        at = base_ + kRingBytes - (text.size() + 1);
    } else {
        text = text.substr(0, std::min(text.size(), kSlotSize - 1));
        at = base_ + (next_++ % kSlots) * kSlotSize;
    }
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    return reinterpret_cast<std::uintptr_t>(at);
}

}  // namespace demoplayer
