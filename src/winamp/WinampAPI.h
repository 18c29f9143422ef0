// The program's only way of talking to Winamp: it finds the player's main window by class before
// every message, asks it through WM_USER queries, drives it with posted WM_COMMAND commands and
// reads playlist strings straight out of the player's memory.
//
// Without Winamp every query answers 0 (texts: empty, the version "0", the time "0:00") and
// commands reach nothing. A player that stops answering is treated the same way: a query waits
// at most kReplyTimeoutMs, and then that window counts as not answering for kBackOffMs, during
// which queries to it answer at once as if Winamp were not running. One synchronisation of
// seven queries therefore stalls the bar at most once, for one timeout.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Desktop.h"

namespace tb {

class WinampAPI {
public:
    // How long a query waits for the player's reply.
    static constexpr std::uint32_t kReplyTimeoutMs = 500;
    // How long a window that let a query time out is left alone.
    static constexpr std::uint64_t kBackOffMs = 3000;
    // The wait, processing events, after a command could not be posted.
    static constexpr std::uint64_t kFailedPostWaitMs = 10000;
    // At most this many bytes are read for one playlist string; the text is cut before the
    // first zero byte and never exceeds kRemoteStringMax bytes.
    static constexpr std::size_t kRemoteReadSize = 1024;
    static constexpr std::size_t kRemoteStringMax = kRemoteReadSize - 1;

    // Performs one lookup, so that hWnd means something from the start.
    explicit WinampAPI(Desktop& desktop);

    WinampAPI(const WinampAPI&) = delete;
    WinampAPI& operator=(const WinampAPI&) = delete;

    // The version number as decimal text; "0" without Winamp.
    std::string WinampVersion();
    // Title and file name of a playlist entry (0-based), read from the player's memory.
    std::string GetPlaylistTitle(std::int32_t Index);
    std::string GetPlaylistFile(std::int32_t Index);
    // Selects a playlist entry; with StartPlayback it also sends Play.
    void SetPlaylistPos(std::int32_t Index, bool StartPlayback = false);
    // The handle found by the last lookup (0 when none was found); performs no lookup.
    Hwnd hWnd() const { return hWndWinamp_; }
    // The title of the current playlist entry.
    std::string SongTitle();
    // True when the lookup finds Winamp's window. A player that does not answer still runs.
    bool IsRunning();
    // False while the last window found is left alone because it let a query time out.
    bool IsAnswering();

    void Previous();
    void Play();
    void Pause();
    void Stop_();
    void Next_();

    // Position in whole seconds (milliseconds rounded, halves to even).
    std::int32_t TrackTimePosition();
    // Jumps to a position in seconds; values beyond the 32-bit millisecond range are clamped.
    void setTrackTimePosition(std::int32_t seconds);
    // Track length in seconds as the player reports it (-1 for a stream or nothing loaded).
    std::int32_t TrackTimeTotal();
    // "m:ss / m:ss", or "m:ss" alone when the length is not positive.
    std::string TrackTime();
    // Position as a percentage of the length, rounded; 0 when the length is not positive.
    std::int32_t TrackTimePercent();

    // Any query and any command; OtherCommand gives the post's result (non-zero when posted).
    std::int32_t OtherUser(std::int32_t id, std::int32_t Data = 0);
    std::int32_t OtherCommand(std::int32_t id, std::int32_t Data = 0);

    // 1 playing, 3 paused, 0 stopped or no Winamp.
    std::int32_t Status();
    void EndWinamp();
    void VolumeUp();
    void VolumeDown();
    // Volume on the player's scale 0..255.
    std::int32_t Volume();
    void setVolume(std::int32_t volume);
    // Current playlist entry (0-based) and number of entries. 32-bit: a playlist may be longer
    // than 32767 entries.
    std::int32_t TrackNumber();
    std::int32_t TracksInPlaylist();
    void ToggleShuffle();
    void FastForward();
    void Rewind();

    // "m:ss" for a number of seconds, as TrackTime writes each time; negatives count as 0.
    static std::string FormatTime(std::int64_t seconds);

    // While one lives, playlist strings are read through one handle to the player's process
    // instead of an open and close per string, which take about a fifth of a long list's
    // refresh under Wine. The player sees the same messages. A handle keeps its process id
    // from being reused, so a player that went and came back is opened anew.
    class HeldProcess {
    public:
        explicit HeldProcess(WinampAPI& api) : api_(api) { ++api_.holders_; }
        ~HeldProcess();
        HeldProcess(const HeldProcess&) = delete;
        HeldProcess& operator=(const HeldProcess&) = delete;

    private:
        WinampAPI& api_;
    };

private:
    void FindWinamp();
    std::int32_t SendUser(std::int32_t id, std::int32_t data);
    std::int32_t SendCommand(std::int32_t command, std::int32_t lParam);
    std::string ReadRemoteString(std::int32_t address);
    std::int32_t PositionMs();

    Desktop& desktop_;
    Hwnd hWndWinamp_ = 0;
    // The window that let a query time out, and until when it is left alone.
    Hwnd notAnswering_ = 0;
    std::uint64_t notAnsweringUntilMs_ = 0;
    // The process handle kept while HeldProcess objects live, and the process it belongs to.
    int holders_ = 0;
    ProcessId heldPid_ = 0;
    ProcessHandle heldProcess_ = 0;
};

}  // namespace tb
