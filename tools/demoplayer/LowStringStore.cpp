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
    // after the ring is left unmapped rather than PAGE_NOACCESS: Wine reads another process's
    // memory past page protections, and keeps part of the low range mapped even when free, so
    // the region is taken, given back, and taken again without its last page, until that page
    // really cannot be read.
    for (std::uintptr_t at = 0x10000000; at + kRegionBytes < kTwoGiB; at += 0x01000000) {
        void* p = VirtualAlloc(reinterpret_cast<void*>(at), kRegionBytes, MEM_RESERVE | MEM_COMMIT,
                               PAGE_READWRITE);
        if (!p) continue;
        VirtualFree(p, 0, MEM_RELEASE);
        p = VirtualAlloc(p, kRingBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!p) continue;
        char probe = 0;
        SIZE_T got = 0;
        if (ReadProcessMemory(GetCurrentProcess(), static_cast<char*>(p) + kRingBytes, &probe, 1,
                              &got)) {
            VirtualFree(p, 0, MEM_RELEASE);
            continue;
        }
        base_ = static_cast<char*>(p);
        return true;
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
