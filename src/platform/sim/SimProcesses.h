// Simulated processes: ids, names, page-granular memory and the handles opened to read it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace tb::sim {

class SimProcesses {
public:
    static constexpr std::uint64_t kPageSize = 4096;

    explicit SimProcesses(std::string selfName);

    ProcessId selfPid() const { return selfPid_; }
    ProcessId create(std::string name);
    // Marks the process dead; its memory goes, handles to it stay open but read nothing.
    bool kill(ProcessId pid);
    bool exists(ProcessId pid) const;
    std::optional<std::string> name(ProcessId pid) const;
    // OpenProcess fails for this process (access denied), as for an elevated one.
    void setOpenDenied(ProcessId pid, bool denied);

    // Makes the pages covering [address, address + bytes.size()) readable (new pages start
    // zero-filled) and copies the bytes there.
    bool writeMemory(ProcessId pid, std::uint64_t address, std::span<const std::uint8_t> bytes);
    bool writeMemory(ProcessId pid, std::uint64_t address, std::string_view bytes);
    // Makes the pages covering the range unreadable (PAGE_NOACCESS), keeping their content.
    bool protectMemory(ProcessId pid, std::uint64_t address, std::uint64_t length);
    // Releases the pages covering the range: they are no longer committed.
    bool freeMemory(ProcessId pid, std::uint64_t address, std::uint64_t length);

    ProcessHandle open(ProcessId pid);
    // All or nothing, like ReadProcessMemory.
    std::size_t read(ProcessHandle handle, std::uint64_t address, std::span<std::uint8_t> out);
    // False for a handle that is not open (already closed or never opened).
    bool close(ProcessHandle handle);
    int openHandleCount() const { return static_cast<int>(handles_.size()); }
    // Every successful open so far, closed or not.
    int openCount() const { return opens_; }
    int badCloseCount() const { return badCloses_; }

private:
    struct Page {
        std::array<std::uint8_t, kPageSize> bytes{};
        bool readable = true;
    };
    struct Process {
        std::string name;
        bool alive = true;
        bool openDenied = false;
        std::map<std::uint64_t, Page> pages;  // by page number
    };

    Process* live(ProcessId pid);
    static bool pageRange(std::uint64_t address, std::uint64_t length, std::uint64_t& first,
                          std::uint64_t& last);

    ProcessId selfPid_;
    ProcessId nextPid_ = 0x1F40;
    ProcessHandle nextHandle_ = 0x200;
    std::map<ProcessId, Process> processes_;
    std::map<ProcessHandle, ProcessId> handles_;
    int badCloses_ = 0;
    int opens_ = 0;
};

}  // namespace tb::sim
