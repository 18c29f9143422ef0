// The stand-in player: the part of a media player that Winamp's window-message protocol can
// see. It knows nothing of windows, processes or clocks; a host feeds it the messages its main
// window receives and the passing of time, and gives it storage for the strings whose address
// it hands out. The simulation (platform/sim/SimWinamp) and the demo player (tools/demoplayer)
// are its two hosts.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace tb::model {

struct PlaylistEntry {
    std::string title;           // "Artist - Title", bytes in the ANSI code page
    std::string file;            // the entry's file name
    std::int32_t lengthSeconds;  // -1 for a stream of unknown length
};

enum class PlayStatus : std::int32_t { Stopped = 0, Playing = 1, Paused = 3 };

// Where the player keeps the strings it hands out by address (playlist titles and file names).
class StringStore {
public:
    virtual ~StringStore() = default;
    // Stores `text` followed by a zero byte where callers can read it and gives its address,
    // or 0 when it cannot. The address stays valid at least until the next call.
    virtual std::uint64_t placeString(std::string_view text) = 0;
};

// One message the player's window received, as the player reads it: `data` and `id` are the
// low 32 bits of wParam and lParam. Commands have no reply and journal 0.
struct JournalEntry {
    std::uint32_t msg = 0;
    std::int32_t wParam = 0;
    std::int32_t lParam = 0;
    std::int64_t reply = 0;

    // "msg wParam lParam reply", decimal, as the demo player writes its journal.
    std::string line() const;
    static std::optional<JournalEntry> parse(std::string_view line);
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

class PlayerModel {
public:
    static constexpr std::int32_t kVersion = 0x5070;
    static constexpr std::int32_t kVolumeStep = 5;  // about two per cent of 255
    static constexpr std::int32_t kSeekStepMs = 5000;

    explicit PlayerModel(StringStore* store = nullptr);

    // A dozen invented "Artist - Title" entries with their lengths.
    static std::vector<PlaylistEntry> samplePlaylist();
    // One entry per non-empty line: "title", "title<TAB>seconds" or
    // "title<TAB>seconds<TAB>file". Lines may end in CR LF.
    static std::vector<PlaylistEntry> parsePlaylist(std::string_view text);

    // ---- What the host feeds in -------------------------------------------------------------
    // A message to the main window; nullopt for messages that are not the player's protocol.
    std::optional<LResult> handleMessage(std::uint32_t msg, WParam w, LParam l);
    // The host's monotonic clock: playback advances by the time passed while playing.
    void advanceTo(std::uint64_t nowMs);

    // ---- What the host is told --------------------------------------------------------------
    std::function<void()> onCloseRequested;                 // command 40001
    std::function<void(std::uint32_t ms)> onHangRequested;  // the private hang query
    std::function<void(const JournalEntry&)> onJournal;     // after every message
    std::function<void()> onChanged;                        // anything visible changed

    // ---- State, read and set by hosts and tests ---------------------------------------------
    void setStore(StringStore* store) { store_ = store; }
    void setPlaylist(std::vector<PlaylistEntry> entries);
    const std::vector<PlaylistEntry>& playlist() const { return playlist_; }
    PlayStatus status() const { return status_; }
    void setStatus(PlayStatus s);
    std::int32_t current() const { return current_; }
    void setCurrent(std::int32_t index);
    std::int64_t positionMs() const { return positionMs_; }
    void setPositionMs(std::int64_t ms);
    std::int32_t volume() const { return volume_; }
    void setVolume(std::int32_t v);
    bool shuffle() const { return shuffle_; }
    bool repeat() const { return repeat_; }
    const PlaylistEntry* currentEntry() const;
    // The title of the current entry and its time as "m:ss / m:ss", for a host's display.
    std::string displayTime() const;

    // Makes a query answer `reply` whatever the state, for tests of bad replies.
    void forceReply(std::int32_t id, LResult reply) { forced_[id] = reply; }
    void clearForcedReplies() { forced_.clear(); }

    const std::vector<JournalEntry>& journal() const { return journal_; }
    void clearJournal() { journal_.clear(); }

private:
    LResult query(std::int32_t id, std::int32_t data);
    void command(std::int32_t id);
    void startEntry(std::int32_t index);
    void finishEndedEntries();
    void next();
    void previous();
    std::int32_t shuffledIndex();
    void changed();

    StringStore* store_;
    std::vector<PlaylistEntry> playlist_;
    PlayStatus status_ = PlayStatus::Stopped;
    std::int32_t current_ = 0;
    std::int64_t positionMs_ = 0;
    std::int32_t volume_ = 200;
    bool shuffle_ = false;
    bool repeat_ = false;
    std::optional<std::uint64_t> lastNowMs_;
    std::uint32_t random_ = 0x2545F491u;
    std::map<std::int32_t, LResult> forced_;
    std::vector<JournalEntry> journal_;
};

}  // namespace tb::model
