#include "winamp/WinampAPI.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "common/Numeric.h"
#include "winamp/WinampMessages.h"

namespace tb {

namespace {

// Reads are split at page boundaries when a whole read fails, so that text lying right before
// an unreadable page is still found. 4 KiB divides every page size Windows uses.
constexpr std::uint64_t kPageSize = 4096;

// Closes the process handle whichever way the read ends.
class ProcessHandleGuard {
public:
    ProcessHandleGuard(Desktop& desktop, ProcessHandle handle)
        : desktop_(desktop), handle_(handle) {}
    ~ProcessHandleGuard() { desktop_.closeHandle(handle_); }
    ProcessHandleGuard(const ProcessHandleGuard&) = delete;
    ProcessHandleGuard& operator=(const ProcessHandleGuard&) = delete;

private:
    Desktop& desktop_;
    ProcessHandle handle_;
};

// The player is a 32-bit program: only the low 32 bits of its reply carry meaning.
std::int32_t low32(LResult reply) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(reply)));
}

// A 32-bit argument widened the way a signed value travels in wParam.
WParam asWParam(std::int32_t value) {
    return static_cast<WParam>(static_cast<std::intptr_t>(value));
}

}  // namespace

WinampAPI::WinampAPI(Desktop& desktop) : desktop_(desktop) { FindWinamp(); }

WinampAPI::HeldProcess::~HeldProcess() {
    if (--api_.holders_ > 0 || api_.heldProcess_ == 0) return;
    api_.desktop_.closeHandle(api_.heldProcess_);
    api_.heldProcess_ = 0;
    api_.heldPid_ = 0;
}

void WinampAPI::FindWinamp() { hWndWinamp_ = desktop_.findWindow(winamp::kWindowClass); }

bool WinampAPI::IsRunning() {
    FindWinamp();
    return hWndWinamp_ != 0;
}

bool WinampAPI::IsAnswering() {
    return hWndWinamp_ == 0 || hWndWinamp_ != notAnswering_ ||
           desktop_.tickCountMs() >= notAnsweringUntilMs_;
}

std::int32_t WinampAPI::SendUser(std::int32_t id, std::int32_t data) {
    FindWinamp();
    if (hWndWinamp_ == 0) return 0;
    if (hWndWinamp_ == notAnswering_) {
        if (desktop_.tickCountMs() < notAnsweringUntilMs_) return 0;
        notAnswering_ = 0;
    }
    std::optional<LResult> reply =
        desktop_.sendMessageTimeout(hWndWinamp_, winamp::kQueryMessage, asWParam(data),
                                    static_cast<LParam>(id), kReplyTimeoutMs);
    if (reply) return low32(*reply);
    // No answer. A window that vanished since the lookup needs no back-off; a living one that
    // did not answer in time is left alone for a while, so the next queries do not wait too.
    if (desktop_.isWindow(hWndWinamp_)) {
        notAnswering_ = hWndWinamp_;
        notAnsweringUntilMs_ = desktop_.tickCountMs() + kBackOffMs;
    }
    return 0;
}

std::int32_t WinampAPI::SendCommand(std::int32_t command, std::int32_t lParam) {
    FindWinamp();
    // Without a window there is nobody to tell, and nothing to wait for.
    if (hWndWinamp_ == 0) return 0;
    if (desktop_.postMessage(hWndWinamp_, winamp::kCommandMessage, asWParam(command),
                             static_cast<LParam>(lParam)))
        return 1;
    // The window went away between lookup and post, or its queue is full: give the player
    // time to settle while the bar keeps running. Monotonic time, so midnight does not matter.
    desktop_.waitEventsUntil(desktop_.tickCountMs() + kFailedPostWaitMs);
    return 0;
}

std::string WinampAPI::ReadRemoteString(std::int32_t address) {
    if (address <= 0) return {};
    ProcessId pid = desktop_.windowProcessId(hWndWinamp_);
    if (pid == 0) return {};
    ProcessHandle process = 0;
    std::optional<ProcessHandleGuard> guard;
    if (holders_ > 0) {
        if (heldPid_ != pid || heldProcess_ == 0) {
            if (heldProcess_ != 0) desktop_.closeHandle(heldProcess_);
            heldProcess_ = desktop_.openProcessForRead(pid);
            heldPid_ = pid;
        }
        process = heldProcess_;
    } else {
        process = desktop_.openProcessForRead(pid);
        if (process != 0) guard.emplace(desktop_, process);
    }
    if (process == 0) return {};

    std::array<std::uint8_t, kRemoteReadSize> buffer{};
    const auto base = static_cast<std::uint64_t>(address);
    std::size_t got = desktop_.readProcessMemory(process, base, buffer);
    if (got == 0) {
        // All or nothing failed: the 1024 bytes reach into memory that cannot be read. Take
        // what lies before it, piece by piece up to each page end, until a zero byte turns up
        // or a piece fails.
        while (got < buffer.size()) {
            std::uint64_t at = base + got;
            std::size_t toPageEnd = static_cast<std::size_t>(kPageSize - at % kPageSize);
            std::size_t want = std::min(toPageEnd, buffer.size() - got);
            std::size_t n = desktop_.readProcessMemory(
                process, at, std::span<std::uint8_t>(buffer.data() + got, want));
            if (n == 0) break;
            bool terminated = std::memchr(buffer.data() + got, 0, n) != nullptr;
            got += std::min(n, want);
            if (terminated || n < want) break;
        }
    }
    std::size_t limit = std::min(got, kRemoteStringMax);
    const auto* begin = reinterpret_cast<const char*>(buffer.data());
    const void* zero = std::memchr(begin, 0, limit);
    std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin) : limit;
    return std::string(begin, length);
}

std::string WinampAPI::WinampVersion() {
    return std::to_string(SendUser(winamp::ipc::GetVersion, 0));
}

std::string WinampAPI::GetPlaylistTitle(std::int32_t Index) {
    return ReadRemoteString(SendUser(winamp::ipc::GetPlaylistTitle, Index));
}

std::string WinampAPI::GetPlaylistFile(std::int32_t Index) {
    return ReadRemoteString(SendUser(winamp::ipc::GetPlaylistFile, Index));
}

void WinampAPI::SetPlaylistPos(std::int32_t Index, bool StartPlayback) {
    SendUser(winamp::ipc::SetPlaylistPos, Index);
    if (StartPlayback) Play();
}

std::string WinampAPI::SongTitle() { return GetPlaylistTitle(TrackNumber()); }

void WinampAPI::Previous() { SendCommand(winamp::cmd::Previous, 0); }
void WinampAPI::Play() { SendCommand(winamp::cmd::Play, 0); }
void WinampAPI::Pause() { SendCommand(winamp::cmd::Pause, 0); }
void WinampAPI::Stop_() { SendCommand(winamp::cmd::Stop, 0); }
void WinampAPI::Next_() { SendCommand(winamp::cmd::Next, 0); }
void WinampAPI::EndWinamp() { SendCommand(winamp::cmd::Close, 0); }
void WinampAPI::VolumeUp() { SendCommand(winamp::cmd::VolumeUp, 0); }
void WinampAPI::VolumeDown() { SendCommand(winamp::cmd::VolumeDown, 0); }
void WinampAPI::ToggleShuffle() { SendCommand(winamp::cmd::ToggleShuffle, 0); }
void WinampAPI::FastForward() { SendCommand(winamp::cmd::Forward5s, 0); }
void WinampAPI::Rewind() { SendCommand(winamp::cmd::Rewind5s, 0); }

std::int32_t WinampAPI::PositionMs() { return SendUser(winamp::ipc::GetOutputTime, 0); }

std::int32_t WinampAPI::TrackTimePosition() {
    return static_cast<std::int32_t>(divRoundHalfEven(PositionMs(), 1000));
}

void WinampAPI::setTrackTimePosition(std::int32_t seconds) {
    SendUser(winamp::ipc::JumpToTime, clampToInt32(static_cast<std::int64_t>(seconds) * 1000));
}

std::int32_t WinampAPI::TrackTimeTotal() { return SendUser(winamp::ipc::GetOutputTime, 1); }

std::string WinampAPI::FormatTime(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const std::int64_t s = seconds % 60;
    std::string text = std::to_string(seconds / 60);
    text += ':';
    text += static_cast<char>('0' + s / 10);
    text += static_cast<char>('0' + s % 10);
    return text;
}

std::string WinampAPI::TrackTime() {
    std::int32_t position = TrackTimePosition();
    std::int32_t length = TrackTimeTotal();
    std::string text = FormatTime(position);
    if (length > 0) text += " / " + FormatTime(length);
    return text;
}

std::int32_t WinampAPI::TrackTimePercent() {
    std::int64_t length = TrackTimeTotal();
    std::int64_t positionMs = PositionMs();
    if (length <= 0) return 0;
    // (ms / 1000) / length * 100, exactly, then rounded.
    return static_cast<std::int32_t>(divRoundHalfEven(positionMs, length * 10));
}

std::int32_t WinampAPI::OtherUser(std::int32_t id, std::int32_t Data) { return SendUser(id, Data); }

std::int32_t WinampAPI::OtherCommand(std::int32_t id, std::int32_t Data) {
    return SendCommand(id, Data);
}

std::int32_t WinampAPI::Status() { return SendUser(winamp::ipc::IsPlaying, 0); }

std::int32_t WinampAPI::Volume() { return SendUser(winamp::ipc::SetVolume, winamp::kVolumeQuery); }

void WinampAPI::setVolume(std::int32_t volume) { SendUser(winamp::ipc::SetVolume, volume); }

std::int32_t WinampAPI::TrackNumber() { return SendUser(winamp::ipc::GetListPos, 0); }

std::int32_t WinampAPI::TracksInPlaylist() { return SendUser(winamp::ipc::GetListLength, 0); }

}  // namespace tb
