// Runs the program's Winamp queries and commands against hostile players in the simulated
// desktop. The input, read front to back, decides everything the players do: the reply to each
// query (garbage addresses, negative and huge values), the bytes in their memory (strings
// without an end, unreadable and uncommitted pages right behind them), and when a player hangs,
// loses its window, dies or is replaced, also between a reply and the read of the string it
// points to.
//
// What must hold whatever the players do: no crash, UB, leak or escaping exception; texts of
// at most kRemoteStringMax bytes without a zero byte; a string read undisturbed is exactly the
// readable text at the replied address; numbers are the low 32 bits of the reply, or 0 without
// one; TrackTime reads "m:ss" or "m:ss / m:ss"; every process handle is closed once; no timer is
// left running; a window that let a query go unanswered is not asked again for kBackOffMs.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/sim/SimDesktop.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace {

using namespace tb;
using sim::SimDesktop;
using sim::SimProcesses;

// The input, front to back; zeros once it is used up, so every run ends quietly.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint64_t bits(int bytes) {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | byte();
        return v;
    }
    std::string bytes(std::size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::int32_t low32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// A string the players keep in memory, the same in each player's process.
struct Region {
    std::uint64_t address = 0;
    std::string bytes;
    // The page holding the first byte after the string cannot be read, or is not committed.
    bool unreadableAfter = false;
    bool uncommittedAfter = false;
    bool unreadableStart = false;  // the first page cannot be read at all
};

// One query as a player received it.
struct Delivered {
    ProcessId pid;
    std::int32_t id;
    LResult reply;
};

// A desktop on which the players may be struck right after a query returned, and before each
// step of a string read: looking up the window's process, opening it, reading its memory.
class HostileDesktop : public SimDesktop {
public:
    std::function<void()> strike;

    std::optional<LResult> sendMessageTimeout(Hwnd hwnd, std::uint32_t msg, WParam w, LParam l,
                                              std::uint32_t timeoutMs) override {
        auto reply = SimDesktop::sendMessageTimeout(hwnd, msg, w, l, timeoutMs);
        if (!reply && isWindow(hwnd)) {
            // The client's back-off remembers the last window that did not answer.
            if (hwnd == lastUnanswered_)
                require(tickCountMs() - lastUnansweredAt_ >= WinampAPI::kBackOffMs);
            lastUnanswered_ = hwnd;
            lastUnansweredAt_ = tickCountMs();
        }
        strike();
        return reply;
    }
    ProcessId windowProcessId(Hwnd hwnd) override {
        strike();
        return SimDesktop::windowProcessId(hwnd);
    }
    ProcessHandle openProcessForRead(ProcessId pid) override {
        strike();
        return SimDesktop::openProcessForRead(pid);
    }
    std::size_t readProcessMemory(ProcessHandle process, std::uint64_t address,
                                  std::span<std::uint8_t> out) override {
        strike();
        return SimDesktop::readProcessMemory(process, address, out);
    }

private:
    Hwnd lastUnanswered_ = 0;
    std::uint64_t lastUnansweredAt_ = 0;
};

class Harness {
public:
    explicit Harness(Input& in) : in_(in) {
        desk_.strike = [this] { maybeStrike(); };
        const int regions = in_.byte() % 5;
        for (int i = 0; i < regions; ++i) regions_.push_back(makeRegion());
        startPlayer();
        if (in_.byte() % 4 == 0) startPlayer();
    }

    void run() {
        for (int ops = 0; ops < 48 && !in_.empty(); ++ops) runOp(true);
        // Whatever is still queued or scheduled runs too.
        desk_.advance(WinampAPI::kFailedPostWaitMs);
        checkAfterOp();
    }

private:
    // A player's window: each query gets the reply the input picks, and each message may harm it.
    struct Player : WindowHandler {
        explicit Player(Harness& h) : h(h) {}
        std::optional<LResult> onMessage(std::uint32_t msg, WParam, LParam l) override {
            std::optional<LResult> reply;
            if (msg == winamp::kQueryMessage) {
                reply = h.chooseReply();
                h.delivered_.push_back({pid, low32(l), reply.value_or(0)});
            }
            if (msg == winamp::kQueryMessage || msg == winamp::kCommandMessage) h.selfHarm(*this);
            return reply;
        }
        Harness& h;
        Hwnd hwnd = 0;
        ProcessId pid = 0;
    };

    Region makeRegion() {
        Region r;
        std::string bytes = in_.bytes(in_.byte() * 8);
        // A long tail of one byte, so that long strings cost little input.
        bytes.append(in_.bits(2) % 9000, static_cast<char>(in_.byte() | 1));
        const std::uint8_t flags = in_.byte();
        if (flags & 1) bytes += '\0';
        const std::uint64_t page = SimProcesses::kPageSize;
        switch (in_.byte() % 4) {
            case 0:  // in the middle of ordinary memory
                r.address = 0x00400000 + in_.bits(2);
                break;
            case 1:  // ending right at a page boundary
                r.address = (0x00500 + in_.bits(1)) * page - bytes.size();
                break;
            case 2:  // anywhere a 32-bit reply can point
                r.address = in_.bits(4) & 0x7FFFFFFF;
                break;
            default:  // anywhere at all; only its low 32 bits can be replied
                r.address = in_.bits(8) & 0x00FFFFFFFFFFFFFF;
                break;
        }
        r.bytes = std::move(bytes);
        r.unreadableAfter = flags & 2;
        r.uncommittedAfter = flags & 4;
        r.unreadableStart = flags & 8;
        return r;
    }

    void placeRegions(ProcessId pid) {
        SimProcesses& mem = desk_.processes();
        for (const Region& r : regions_) {
            mem.writeMemory(pid, r.address, r.bytes);
            const std::uint64_t end = r.address + r.bytes.size();
            if (r.unreadableAfter) mem.protectMemory(pid, end, 1);
            if (r.uncommittedAfter) mem.freeMemory(pid, end, 1);
            if (r.unreadableStart) mem.protectMemory(pid, r.address, 1);
        }
    }

    void startPlayer() {
        if (players_.size() >= 6) return;
        auto p = std::make_unique<Player>(*this);
        p->pid = desk_.createProcess("winamp.exe");
        placeRegions(p->pid);
        p->hwnd = desk_.createWindowIn(
            p->pid,
            {winamp::kWindowClass, "Winamp", Rect::fromXYWH(0, 0, 275, 116), 0, true, false},
            p.get());
        players_.push_back(std::move(p));
    }

    Player* livePlayer() {
        for (auto it = players_.rbegin(); it != players_.rend(); ++it)
            if (desk_.isWindow((*it)->hwnd)) return it->get();
        return nullptr;
    }

    std::optional<LResult> chooseReply() {
        static constexpr LResult kFixed[] = {0, -1, INT32_MIN, INT32_MAX};
        const int pick = in_.byte() % 10;
        if (pick < 4) return kFixed[pick];
        switch (pick) {
            case 4:  // a small count, position or time
                return static_cast<std::int16_t>(in_.bits(2));
            case 5: {  // into a string, near its start, maybe with garbage above 32 bits
                if (regions_.empty()) return 0;
                const Region& r = regions_[in_.byte() % regions_.size()];
                const auto high = static_cast<std::uint64_t>(in_.byte() % 3 == 0 ? in_.bits(4) : 0);
                return static_cast<LResult>((high << 32) + r.address + in_.byte() % 64);
            }
            case 6:
            case 7:
                return static_cast<LResult>(in_.bits(pick == 6 ? 4 : 8));
            case 8:
                return std::nullopt;  // not a message this player knows
            default:
                return static_cast<std::int32_t>(in_.bits(2) * 1000 + in_.byte() % 4 * 250);
        }
    }

    // What a player does to itself while it handles a message: takes effect on later ones.
    void selfHarm(Player& p) {
        const int harm = in_.byte() % 12;
        if (harm == 0) desk_.setHung(p.hwnd, desk_.tickCountMs() + in_.bits(2));
        if (harm == 1) desk_.setHung(p.hwnd, SimDesktop::kHungForever);
        if (harm == 2) desk_.setPostQueueLimit(p.pid, in_.byte() % 2);
    }

    // What happens to the players from outside, at a moment of the client's work.
    void maybeStrike() {
        const std::uint8_t what = in_.byte();
        if (what < 200) return;
        disturbed_ = true;
        Player* p = livePlayer();
        switch (what % 8) {
            case 0:
                if (p) desk_.killProcess(p->pid);
                break;
            case 1:  // the window goes; the process lives on for a moment
                if (p) desk_.destroyWindow(p->hwnd);
                break;
            case 2:
                if (p) desk_.processes().setOpenDenied(p->pid, true);
                break;
            case 3:  // the strings' pages and the page behind each: unreadable, or gone,
            case 4:  // or every string loses its end
            case 5:
                if (!p) break;
                for (const Region& r : regions_) {
                    const std::uint64_t n = r.bytes.size() + SimProcesses::kPageSize;
                    SimProcesses& mem = desk_.processes();
                    if (what % 8 == 3) mem.protectMemory(p->pid, r.address, n);
                    if (what % 8 == 4) mem.freeMemory(p->pid, r.address, n);
                    if (what % 8 == 5)
                        mem.writeMemory(p->pid, r.address, std::string(r.bytes.size(), 'z'));
                }
                break;
            case 6:
                startPlayer();
                break;
            default:
                if (p) desk_.setHung(p->hwnd, desk_.tickCountMs() + in_.bits(2));
                break;
        }
    }

    // The text a read of at most kRemoteStringMax bytes finds at the address a reply names.
    std::string textAt(ProcessId pid, LResult reply) {
        const std::int32_t address = low32(reply);
        if (address <= 0) return {};
        SimProcesses& mem = desk_.processes();
        const ProcessHandle h = mem.open(pid);
        if (!h) return {};
        std::string text;
        std::uint8_t byte = 0;
        for (std::uint64_t a = static_cast<std::uint64_t>(address);
             text.size() < WinampAPI::kRemoteStringMax; ++a) {
            if (mem.read(h, a, {&byte, 1}) != 1 || byte == 0) break;
            text += static_cast<char>(byte);
        }
        mem.close(h);
        return text;
    }

    // The reply of the one query a member sent, 0 when none reached a player.
    std::int32_t onlyReply() {
        require(delivered_.size() <= 1);
        return delivered_.empty() ? 0 : low32(delivered_.back().reply);
    }

    void checkText(const std::string& text) {
        require(text.size() <= WinampAPI::kRemoteStringMax);
        require(text.find('\0') == std::string::npos);
        if (disturbed_) return;
        const Delivered* last = nullptr;
        for (const Delivered& d : delivered_)
            if (d.id == winamp::ipc::GetPlaylistTitle || d.id == winamp::ipc::GetPlaylistFile)
                last = &d;
        require(text == (last ? textAt(last->pid, last->reply) : std::string()));
    }

    static bool isTrackTime(const std::string& t) {
        static const std::regex time("(0|[1-9][0-9]*):[0-5][0-9]( / (0|[1-9][0-9]*):[0-5][0-9])?");
        return std::regex_match(t, time);
    }

    void checkAfterOp() {
        require(desk_.openProcessHandleCount() == 0);
        require(desk_.processes().badCloseCount() == 0);
        require(desk_.activeTimerCount() == 0);
    }

    // One of the program's calls, checked; `top` calls may leave a nested call for later.
    void runOp(bool top) {
        delivered_.clear();
        disturbed_ = false;
        const std::int32_t index = static_cast<std::int32_t>(in_.bits(1) % 20) - 2;
        const int op = in_.byte() % 26;
        switch (op) {
            case 0:
                require(api_.WinampVersion() == std::to_string(onlyReply()));
                break;
            case 1:
            case 2:
            case 3:
                checkText(op == 1   ? api_.GetPlaylistTitle(index)
                          : op == 2 ? api_.GetPlaylistFile(index)
                                    : api_.SongTitle());
                break;
            case 4: {  // the bar's playlist refresh, over a count from the player
                const std::int32_t count = api_.TracksInPlaylist();
                require(count == onlyReply());
                for (std::int32_t i = 0; i < std::min(count, 24); ++i) {
                    delivered_.clear();
                    disturbed_ = false;
                    checkText(api_.GetPlaylistTitle(i));
                }
                api_.TrackNumber();
                break;
            }
            case 5:
                require(isTrackTime(api_.TrackTime()));
                break;
            case 6: {
                const std::int64_t seconds = api_.TrackTimePosition();
                const std::int64_t ms = onlyReply();
                require(seconds * 1000 - ms <= 500 && ms - seconds * 1000 <= 500);
                break;
            }
            case 7:
            case 9:
            case 10:
            case 11:
            case 12: {  // a number straight from the reply
                using Query = std::int32_t (WinampAPI::*)();
                static constexpr Query queries[] = {
                    &WinampAPI::TrackTimeTotal, nullptr,
                    &WinampAPI::Volume,         &WinampAPI::Status,
                    &WinampAPI::TrackNumber,    &WinampAPI::TracksInPlaylist};
                require((api_.*queries[op - 7])() == onlyReply());
                break;
            }
            case 8:
                api_.TrackTimePercent();
                break;
            case 13: {
                const std::int32_t id = static_cast<std::int32_t>(in_.bits(4));
                require(api_.OtherUser(id, static_cast<std::int32_t>(in_.bits(4))) == onlyReply());
                break;
            }
            case 14: {
                const std::int32_t r = api_.OtherCommand(static_cast<std::int32_t>(in_.bits(4)),
                                                         static_cast<std::int32_t>(in_.bits(4)));
                require(r == 0 || r == 1);
                break;
            }
            case 15: {
                using Command = void (WinampAPI::*)();
                static constexpr Command commands[] = {
                    &WinampAPI::Previous,    &WinampAPI::Play,       &WinampAPI::Pause,
                    &WinampAPI::Stop_,       &WinampAPI::Next_,      &WinampAPI::EndWinamp,
                    &WinampAPI::VolumeUp,    &WinampAPI::VolumeDown, &WinampAPI::ToggleShuffle,
                    &WinampAPI::FastForward, &WinampAPI::Rewind};
                (api_.*commands[in_.byte() % std::size(commands)])();
                break;
            }
            case 16:
                api_.setVolume(static_cast<std::int32_t>(in_.bits(4)));
                break;
            case 17:
                api_.setTrackTimePosition(static_cast<std::int32_t>(in_.bits(4)));
                break;
            case 18:
                api_.SetPlaylistPos(index, in_.byte() & 1);
                break;
            case 19:
                api_.IsRunning();
                api_.IsAnswering();
                break;
            case 20: {  // one synchronisation of the bar
                api_.IsRunning();
                require(isTrackTime(api_.TrackTime()));
                api_.TrackTimeTotal();
                api_.TrackTimePosition();
                api_.Volume();
                delivered_.clear();
                checkText(api_.SongTitle());
                break;
            }
            case 21:  // time passes; queued commands and scheduled calls run
                desk_.advance(in_.bits(2));
                break;
            case 22:
                if (top && nested_ < 8) {
                    ++nested_;
                    desk_.after(in_.bits(2), [this] { runOp(false); });
                }
                break;
            case 23:
                startPlayer();
                break;
            default:
                maybeStrike();
                break;
        }
        checkAfterOp();
    }

    Input& in_;
    // The players' handlers outlive the desktop that calls them.
    std::vector<std::unique_ptr<Player>> players_;
    HostileDesktop desk_;
    std::vector<Region> regions_;
    WinampAPI api_{desk_};
    std::vector<Delivered> delivered_;
    bool disturbed_ = false;
    int nested_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    Harness(in).run();
    return 0;
}
