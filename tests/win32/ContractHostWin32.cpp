// The contract suites' host for the real API: a Win32Desktop, and memory pages of this process
// that end in an unmapped page.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Win32TestSupport.h"
#include "contract/ContractHost.h"
#include "platform/win32/Win32Desktop.h"
#include "support/RealInput.h"

namespace tb::test {

namespace {

class Win32ContractHost : public ContractHost {
public:
    ~Win32ContractHost() override {
        for (void* block : blocks_) VirtualFree(block, 0, MEM_RELEASE);
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

    Desktop& desktop() override { return desktop_; }

    ProcessId selfProcessId() override { return GetCurrentProcessId(); }

    std::uint64_t placeBeforeUnreadable(std::string_view bytes) override {
        SYSTEM_INFO si{};
        GetSystemInfo(&si);
        const std::size_t page = si.dwPageSize;
        const std::size_t size = (bytes.size() / page + 1) * page;
        // The page after the bytes must be unmapped, not merely PAGE_NOACCESS: Wine reads
        // another process's memory (ours included) past page protections. So the room for the
        // bytes and one page more is taken and given back, and only the bytes' pages are
        // taken again. Wine keeps its low address range mapped even when free; higher hints
        // land outside it.
        void* hints[] = {nullptr, reinterpret_cast<void*>(0x200000000ull),
                         reinterpret_cast<void*>(0x300000000ull),
                         reinterpret_cast<void*>(0x100000000000ull)};
        for (void* hint : hints) {
            void* room = VirtualAlloc(hint, size + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
            if (!room) continue;
            VirtualFree(room, 0, MEM_RELEASE);
            auto* base = static_cast<char*>(
                VirtualAlloc(room, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
            if (!base) continue;
            char probe = 0;
            SIZE_T got = 0;
            if (ReadProcessMemory(GetCurrentProcess(), base + size, &probe, 1, &got)) {
                VirtualFree(base, 0, MEM_RELEASE);
                continue;
            }
            blocks_.push_back(base);
            char* start = base + size - bytes.size();
            std::memcpy(start, bytes.data(), bytes.size());
            return reinterpret_cast<std::uintptr_t>(start);
        }
        return 0;
    }

    std::string tempFolder() override {
        if (folder_.empty()) {
            std::string path = tempPath("contract");
            if (CreateDirectoryA(path.c_str(), nullptr)) folder_ = path;
        }
        return folder_;
    }

    void holdKey(int virtualKey, bool down) override {
        BYTE state[256];
        GetKeyboardState(state);
        state[virtualKey & 0xFF] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }

    void pressKey(int virtualKey, bool shift, bool ctrl) override {
        sendInputs(keyPress(virtualKey, shift, ctrl));
        settle();
    }
    void typeText(std::string_view text) override {
        sendInputs(typing(text));
        settle();
    }
    void click(Point screen) override {
        sendInputs(leftClicks({screen.x, screen.y}));
        settle();
    }

private:
    // Real input travels through the system first: pumps until the queue has stayed empty a
    // little while.
    void settle() {
        const ULONGLONG end = GetTickCount64() + 2000;
        ULONGLONG quietSince = GetTickCount64();
        while (GetTickCount64() < end) {
            desktop_.waitEventsUntil(desktop_.tickCountMs() + 5);
            if (GetQueueStatus(QS_ALLINPUT) != 0) quietSince = GetTickCount64();
            if (GetTickCount64() - quietSince >= 60) return;
        }
    }

    std::string folder_;
    win32::Win32Desktop desktop_;
    std::vector<void*> blocks_;
};

}  // namespace

std::unique_ptr<ContractHost> makeContractHost() { return std::make_unique<Win32ContractHost>(); }

}  // namespace tb::test
