#include "platform/sim/SimProcesses.h"

#include <algorithm>
#include <utility>

namespace tb::sim {

SimProcesses::SimProcesses(std::string selfName) { selfPid_ = create(std::move(selfName)); }

ProcessId SimProcesses::create(std::string name) {
    // Windows process ids are multiples of four.
    const ProcessId pid = nextPid_;
    nextPid_ += 4;
    processes_[pid].name = std::move(name);
    return pid;
}

SimProcesses::Process* SimProcesses::live(ProcessId pid) {
    auto it = processes_.find(pid);
    return it == processes_.end() || !it->second.alive ? nullptr : &it->second;
}

bool SimProcesses::kill(ProcessId pid) {
    Process* p = live(pid);
    if (!p) return false;
    p->alive = false;
    p->pages.clear();
    return true;
}

bool SimProcesses::exists(ProcessId pid) const {
    auto it = processes_.find(pid);
    return it != processes_.end() && it->second.alive;
}

std::optional<std::string> SimProcesses::name(ProcessId pid) const {
    auto it = processes_.find(pid);
    if (it == processes_.end()) return std::nullopt;
    return it->second.name;
}

void SimProcesses::setOpenDenied(ProcessId pid, bool denied) {
    if (Process* p = live(pid)) p->openDenied = denied;
}

bool SimProcesses::pageRange(std::uint64_t address, std::uint64_t length, std::uint64_t& first,
                             std::uint64_t& last) {
    if (length == 0 || address + length < address) return false;
    first = address / kPageSize;
    last = (address + length - 1) / kPageSize;
    return true;
}

bool SimProcesses::writeMemory(ProcessId pid, std::uint64_t address,
                               std::span<const std::uint8_t> bytes) {
    Process* p = live(pid);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    if (!p || !pageRange(address, bytes.size(), first, last)) return false;
    for (std::uint64_t n = first; n <= last; ++n) p->pages[n].readable = true;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint64_t a = address + i;
        p->pages[a / kPageSize].bytes[a % kPageSize] = bytes[i];
    }
    return true;
}

bool SimProcesses::writeMemory(ProcessId pid, std::uint64_t address, std::string_view bytes) {
    return writeMemory(
        pid, address, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

bool SimProcesses::protectMemory(ProcessId pid, std::uint64_t address, std::uint64_t length) {
    Process* p = live(pid);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    if (!p || !pageRange(address, length, first, last)) return false;
    for (std::uint64_t n = first; n <= last; ++n) p->pages[n].readable = false;
    return true;
}

bool SimProcesses::freeMemory(ProcessId pid, std::uint64_t address, std::uint64_t length) {
    Process* p = live(pid);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    if (!p || !pageRange(address, length, first, last)) return false;
    for (std::uint64_t n = first; n <= last; ++n) p->pages.erase(n);
    return true;
}

ProcessHandle SimProcesses::open(ProcessId pid) {
    Process* p = live(pid);
    if (!p || p->openDenied) return 0;
    const ProcessHandle h = nextHandle_;
    nextHandle_ += 4;
    handles_[h] = pid;
    ++opens_;
    return h;
}

std::size_t SimProcesses::read(ProcessHandle handle, std::uint64_t address,
                               std::span<std::uint8_t> out) {
    auto h = handles_.find(handle);
    if (h == handles_.end()) return 0;
    Process* p = live(h->second);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    if (!p || !pageRange(address, out.size(), first, last)) return 0;
    for (std::uint64_t n = first; n <= last; ++n) {
        auto page = p->pages.find(n);
        if (page == p->pages.end() || !page->second.readable) return 0;
    }
    // A page at a time: a long playlist reads thousands of strings.
    for (std::size_t done = 0; done < out.size();) {
        const std::uint64_t a = address + done;
        const auto& bytes = p->pages[a / kPageSize].bytes;
        const std::size_t offset = static_cast<std::size_t>(a % kPageSize);
        const std::size_t n = std::min(out.size() - done, kPageSize - offset);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n,
                    out.begin() + static_cast<std::ptrdiff_t>(done));
        done += n;
    }
    return out.size();
}

bool SimProcesses::close(ProcessHandle handle) {
    if (handles_.erase(handle) == 1) return true;
    ++badCloses_;
    return false;
}

}  // namespace tb::sim
