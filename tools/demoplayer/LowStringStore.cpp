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
    // A 64-bit process gets high addresses by default; ask for low ones explicitly.
    for (std::uintptr_t at = 0x10000000; at + kRegionBytes < kTwoGiB; at += 0x01000000) {
        void* p = VirtualAlloc(reinterpret_cast<void*>(at), kRegionBytes, MEM_RESERVE | MEM_COMMIT,
                               PAGE_READWRITE);
        if (p) {
            base_ = static_cast<char*>(p);
            break;
        }
    }
    if (!base_) return false;
    DWORD old = 0;
    return VirtualProtect(base_ + kRingBytes, kPage, PAGE_NOACCESS, &old) != 0;
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
