#include "standin/PlayerModel.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "standin/StandinMessages.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace tb::model {

namespace {

std::int32_t low32(std::uint64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

template <typename T>
bool parseNumber(std::string_view s, T& out) {
    if (s.empty()) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

std::string JournalEntry::line() const {
    return std::to_string(msg) + " " + std::to_string(wParam) + " " + std::to_string(lParam) + " " +
           std::to_string(reply);
}

std::optional<JournalEntry> JournalEntry::parse(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    std::string_view parts[4];
    for (int i = 0; i < 4; ++i) {
        std::size_t space = i < 3 ? line.find(' ') : line.size();
        if (space == std::string_view::npos) return std::nullopt;
        parts[i] = line.substr(0, space);
        line.remove_prefix(std::min(line.size(), space + 1));
    }
    JournalEntry e;
    if (!parseNumber(parts[0], e.msg) || !parseNumber(parts[1], e.wParam) ||
        !parseNumber(parts[2], e.lParam) || !parseNumber(parts[3], e.reply))
        return std::nullopt;
    return e;
}

PlayerModel::PlayerModel(StringStore* store) : store_(store), playlist_(samplePlaylist()) {}

std::vector<PlaylistEntry> PlayerModel::samplePlaylist() {
    // Invented artists and songs.
    const struct {
        const char* title;
        std::int32_t seconds;
    } sample[] = {
        {"The Velvet Orchards - Paper Comets", 187},
        {"Nadia Ferrow - Salt On The Windowsill", 295},
        {"Kilnworth - Copper Sundays", 241},
        {"Juno Arbelle - Midnight Tram To Oostvaart", 213},
        {"The Lumen Drifters - Quiet Engines", 322},
        {"Otis Brannagh - Harbour Lights Again", 176},
        {"Fenwick & Sorrel - Glasshouse Waltz", 268},
        {"Marisol Teague - Seven Kites", 199},
        {"Quillmoor - Low Orbit Lullaby", 347},
        {"Bram Velders - De Lange Weg Terug", 231},
        {"Polly Nightjar - Cinnamon Radio", 158},
        {"The Hollow Pinewoods - Last Ferry Home", 284},
    };
    std::vector<PlaylistEntry> entries;
    for (const auto& s : sample)
        entries.push_back({s.title, std::string("C:\\Muziek\\") + s.title + ".mp3", s.seconds});
    return entries;
}

std::vector<PlaylistEntry> PlayerModel::parsePlaylist(std::string_view text) {
    std::vector<PlaylistEntry> entries;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        PlaylistEntry e{std::string(line), {}, -1};
        std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos) {
            e.title = std::string(line.substr(0, tab));
            std::string_view rest = line.substr(tab + 1);
            std::size_t tab2 = rest.find('\t');
            std::int32_t seconds = -1;
            if (parseNumber(rest.substr(0, tab2), seconds)) e.lengthSeconds = seconds;
            if (tab2 != std::string_view::npos) e.file = std::string(rest.substr(tab2 + 1));
        }
        if (e.file.empty()) e.file = e.title;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::optional<LResult> PlayerModel::handleMessage(std::uint32_t msg, WParam w, LParam l) {
    JournalEntry entry{msg, low32(w), low32(static_cast<std::uint64_t>(l)), 0};
    std::optional<LResult> reply;
    if (msg == winamp::kQueryMessage) {
        auto forced = forced_.find(entry.lParam);
        reply = forced != forced_.end() ? forced->second : query(entry.lParam, entry.wParam);
    } else if (msg == winamp::kCommandMessage) {
        // Menu and accelerator ids are the low word, as a window procedure reads them.
        command(static_cast<std::int32_t>(w & 0xFFFF));
        reply = 0;
    } else {
        return std::nullopt;
    }
    entry.reply = *reply;
    journal_.push_back(entry);
    if (onJournal) onJournal(entry);
    if (msg == winamp::kQueryMessage && entry.lParam == standin::ipc::HangForMs &&
        onHangRequested && entry.wParam > 0)
        onHangRequested(static_cast<std::uint32_t>(entry.wParam));
    return reply;
}

LResult PlayerModel::query(std::int32_t id, std::int32_t data) {
    namespace ipc = winamp::ipc;
    const auto size = static_cast<std::int32_t>(playlist_.size());
    switch (id) {
        case ipc::GetVersion:
            return kVersion;
        case ipc::IsPlaying:
            return static_cast<LResult>(status_);
        case ipc::GetOutputTime: {
            const PlaylistEntry* e = currentEntry();
            if (status_ == PlayStatus::Stopped || !e) return -1;
            if (data == 0)
                return std::min<std::int64_t>(positionMs_,
                                              std::numeric_limits<std::int32_t>::max());
            if (data == 1) return e->lengthSeconds;
            if (data == 2) return e->lengthSeconds < 0 ? -1 : std::int64_t{e->lengthSeconds} * 1000;
            return -1;
        }
        case ipc::JumpToTime: {
            const PlaylistEntry* e = currentEntry();
            if (status_ == PlayStatus::Stopped || !e) return -1;
            if (e->lengthSeconds >= 0 && data >= std::int64_t{e->lengthSeconds} * 1000) return 1;
            setPositionMs(std::max(data, 0));
            return 0;
        }
        case ipc::SetPlaylistPos:
            if (data >= 0 && data < size) {
                current_ = data;
                positionMs_ = 0;
                changed();
            }
            return 0;
        case ipc::SetVolume:
            if (data == winamp::kVolumeQuery) return volume_;
            setVolume(data);
            return 0;
        case ipc::GetListLength:
            return size;
        case ipc::GetListPos:
            return current_;
        case ipc::GetPlaylistFile:
        case ipc::GetPlaylistTitle: {
            if (data < 0 || data >= size || !store_) return 0;
            const PlaylistEntry& e = playlist_[static_cast<std::size_t>(data)];
            return static_cast<LResult>(
                store_->placeString(id == ipc::GetPlaylistTitle ? e.title : e.file));
        }
        case standin::ipc::GetShuffle:
            return shuffle_ ? 1 : 0;
        case standin::ipc::GetRepeat:
            return repeat_ ? 1 : 0;
        case standin::ipc::SetShuffle:
            shuffle_ = data != 0;
            changed();
            return 0;
        case standin::ipc::SetRepeat:
            repeat_ = data != 0;
            changed();
            return 0;
        case standin::ipc::HangForMs:
            return 1;
        default:
            return 0;
    }
}

void PlayerModel::command(std::int32_t id) {
    namespace cmd = winamp::cmd;
    switch (id) {
        case cmd::Close:
            if (onCloseRequested) onCloseRequested();
            return;
        case standin::cmd::ToggleRepeat:
            repeat_ = !repeat_;
            break;
        case cmd::ToggleShuffle:
            shuffle_ = !shuffle_;
            break;
        case cmd::Previous:
            previous();
            break;
        case cmd::Play:
            if (!currentEntry()) return;
            status_ = PlayStatus::Playing;
            positionMs_ = 0;
            break;
        case cmd::Pause:
            if (status_ == PlayStatus::Playing)
                status_ = PlayStatus::Paused;
            else if (status_ == PlayStatus::Paused)
                status_ = PlayStatus::Playing;
            break;
        case cmd::Stop:
            status_ = PlayStatus::Stopped;
            positionMs_ = 0;
            break;
        case cmd::Next:
            next();
            break;
        case cmd::VolumeUp:
            setVolume(volume_ + kVolumeStep);
            return;
        case cmd::VolumeDown:
            setVolume(volume_ - kVolumeStep);
            return;
        case cmd::Rewind5s:
            if (status_ != PlayStatus::Stopped)
                positionMs_ = std::max<std::int64_t>(0, positionMs_ - kSeekStepMs);
            break;
        case cmd::Forward5s:
            if (status_ != PlayStatus::Stopped) {
                positionMs_ += kSeekStepMs;
                finishEndedEntries();
            }
            break;
        default:
            return;
    }
    changed();
}

void PlayerModel::advanceTo(std::uint64_t nowMs) {
    if (status_ == PlayStatus::Playing && lastNowMs_ && nowMs > *lastNowMs_)
        positionMs_ += static_cast<std::int64_t>(nowMs - *lastNowMs_);
    if (!lastNowMs_ || nowMs > *lastNowMs_) lastNowMs_ = nowMs;
    finishEndedEntries();
}

void PlayerModel::finishEndedEntries() {
    // Entries that end hand over to the next; the last one stops the player unless it repeats.
    for (int guard = 0; status_ != PlayStatus::Stopped && guard < 1000; ++guard) {
        const PlaylistEntry* e = currentEntry();
        if (!e || e->lengthSeconds <= 0) break;
        std::int64_t lengthMs = std::int64_t{e->lengthSeconds} * 1000;
        if (positionMs_ < lengthMs) break;
        std::int64_t over = positionMs_ - lengthMs;
        bool last = current_ + 1 >= static_cast<std::int32_t>(playlist_.size());
        if (last && !repeat_ && !shuffle_) {
            status_ = PlayStatus::Stopped;
            positionMs_ = 0;
        } else {
            next();
            positionMs_ = over;
        }
        changed();
    }
}

void PlayerModel::next() {
    const auto size = static_cast<std::int32_t>(playlist_.size());
    if (size == 0) return;
    if (shuffle_)
        current_ = shuffledIndex();
    else if (current_ + 1 < size)
        ++current_;
    else
        current_ = 0;
    positionMs_ = 0;
}

void PlayerModel::previous() {
    const auto size = static_cast<std::int32_t>(playlist_.size());
    if (size == 0) return;
    current_ = current_ > 0 ? current_ - 1 : size - 1;
    positionMs_ = 0;
}

std::int32_t PlayerModel::shuffledIndex() {
    const auto size = static_cast<std::uint32_t>(playlist_.size());
    if (size < 2) return 0;
    // xorshift32: the same order on every run, so tests can rely on it.
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    auto pick = static_cast<std::int32_t>(random_ % (size - 1));
    return pick >= current_ ? pick + 1 : pick;  // never the entry that just played
}

void PlayerModel::setPlaylist(std::vector<PlaylistEntry> entries) {
    playlist_ = std::move(entries);
    if (current_ >= static_cast<std::int32_t>(playlist_.size())) current_ = 0;
    if (playlist_.empty()) status_ = PlayStatus::Stopped;
    positionMs_ = 0;
    changed();
}

void PlayerModel::setStatus(PlayStatus s) {
    status_ = currentEntry() ? s : PlayStatus::Stopped;
    changed();
}

void PlayerModel::setCurrent(std::int32_t index) {
    if (index >= 0 && index < static_cast<std::int32_t>(playlist_.size())) current_ = index;
    positionMs_ = 0;
    changed();
}

void PlayerModel::setPositionMs(std::int64_t ms) {
    positionMs_ = std::max<std::int64_t>(0, ms);
    changed();
}

void PlayerModel::setVolume(std::int32_t v) {
    volume_ = std::clamp(v, 0, 255);
    changed();
}

const PlaylistEntry* PlayerModel::currentEntry() const {
    if (current_ < 0 || current_ >= static_cast<std::int32_t>(playlist_.size())) return nullptr;
    return &playlist_[static_cast<std::size_t>(current_)];
}

std::string PlayerModel::displayTime() const {
    const PlaylistEntry* e = currentEntry();
    std::string text = WinampAPI::FormatTime(positionMs_ / 1000);
    if (e && e->lengthSeconds > 0) text += " / " + WinampAPI::FormatTime(e->lengthSeconds);
    return text;
}

void PlayerModel::changed() {
    if (onChanged) onChanged();
}

}  // namespace tb::model
