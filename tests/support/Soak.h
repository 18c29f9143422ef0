// A long run of the whole bar in the simulation: the player changes tracks every three minutes,
// the playlist is refreshed every minute, the pointer comes and goes, a hotkey is pressed and
// the settings are saved every few minutes. What the bar holds (windows, timers, hooks, handles,
// memory) is sampled along the way; a bar that leaks shows it as growth between samples.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's allocator keeps the count (its header is not always installed).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "support/BarScene.h"

namespace tb::test {

struct SoakSample {
    std::uint64_t minute = 0;
    std::size_t windows = 0;  // top-level and child windows
    int timers = 0;
    int hooks = 0;
    int processHandles = 0;
    std::size_t registryHandles = 0;
    std::size_t pendingPosts = 0;
    std::size_t heapBytes = 0;
    // The bar's kept frame is what a whole paint draws: no partial paint left stale pixels.
    bool frameCurrent = true;

    // Everything but the heap, which may wander a little.
    bool sameCounts(const SoakSample& o) const {
        return windows == o.windows && timers == o.timers && hooks == o.hooks &&
               processHandles == o.processHandles && registryHandles == o.registryHandles &&
               pendingPosts == o.pendingPosts;
    }
    std::string line() const {
        return std::to_string(minute) + " min: " + std::to_string(windows) + " windows, " +
               std::to_string(timers) + " timers, " + std::to_string(hooks) + " hooks, " +
               std::to_string(processHandles) + " process handles, " +
               std::to_string(registryHandles) + " registry handles, " +
               std::to_string(pendingPosts) + " posts waiting, " +
               std::to_string(heapBytes / 1024) + " KiB heap" +
               (frameCurrent ? "" : ", frame stale");
    }
};

inline std::size_t heapBytesInUse() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

class Soak : public BarScene {
public:
    // A playlist long enough for `hours` of three-minute tracks; the bar in view, a hotkey
    // (Ctrl+U, pause) set.
    explicit Soak(std::uint64_t hours) {
        std::vector<model::PlaylistEntry> entries;
        const auto n = static_cast<int>(hours * 20 + 10);
        for (int i = 0; i < n; ++i)
            entries.push_back({"Artist " + std::to_string(i) + " - Song", "", 180});
        winamp.model().setPlaylist(entries);
        winamp.model().setStatus(model::PlayStatus::Playing);
        store(instellingen::toetsNaam(2), 'U');
        store(instellingen::ctrlNaam(2), 1);
        store(instellingen::kActief, 1);
        start();
    }

    SoakSample sample() {
        SoakSample s;
        s.minute = desk.tickCountMs() / 60000;
        for (Hwnd h : desk.zOrder()) {
            const sim::SimWindow* w = desk.window(h);
            s.windows += 1 + w->children.size();
            s.hooks += w->hook ? 1 : 0;
        }
        s.timers = desk.activeTimerCount();
        s.processHandles = desk.openProcessHandleCount();
        s.registryHandles = registry.openHandleCount();
        s.pendingPosts = desk.pendingPostCount();
        s.heapBytes = heapBytesInUse();
        const auto kept = frame();
        desk.paintNow(bar.hWnd());
        s.frameCurrent = frame() == kept;
        return s;
    }

    // Runs `minutes` of virtual time, a sample every `everyMinutes`.
    void run(std::uint64_t minutes, std::uint64_t everyMinutes,
             const std::function<void(const SoakSample&)>& onSample) {
        for (std::uint64_t m = 1; m <= minutes; ++m) {
            minute(m);
            if (m % everyMinutes == 0) onSample(sample());
        }
    }

private:
    // The pixels and the texts (in any order) the bar's window shows.
    std::pair<std::vector<Color>, std::vector<std::string>> frame() {
        std::vector<std::string> texts;
        for (const auto& t : desk.texts(bar.hWnd()))
            texts.push_back(t.text + "@" + std::to_string(t.pos.x) + "," + std::to_string(t.pos.y) +
                            "," + std::to_string(t.clip.left) + "," + std::to_string(t.clip.right));
        std::sort(texts.begin(), texts.end());
        return {desk.frame(bar.hWnd()).pixels, texts};
    }

    // One minute: the pointer comes in and goes away three times; every five minutes the
    // hotkey is pressed twice (pause and on again) and the settings are saved.
    void minute(std::uint64_t m) {
        // The stand-in's and the simulation's own records of every message would grow.
        winamp.model().clearJournal();
        desk.clearMessageLog();
        for (int i = 0; i < 3; ++i) {
            desk.setCursorPos({512, 1});
            desk.advance(10'000);
            desk.setCursorPos({5, 700});
            desk.advance(10'000);
        }
        if (m % 5 != 0) return;
        for (int press = 0; press < 2; ++press) {
            desk.setKeyDown(17, true);
            desk.setKeyDown('U', true);
            desk.advance(300);
            desk.setKeyDown('U', false);
            desk.setKeyDown(17, false);
            desk.advance(700);
        }
        bar.btnInstellingen_Click();
        if (frmInstellingen* w = bar.InstellingenVenster()) w->cmdOpslaan_Click();
    }
};

}  // namespace tb::test
