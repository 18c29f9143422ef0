// The bar in the simulated desktop beside the stand-in player, with a fresh registry and its log
// beside the exe; and a Messenger window that keeps what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWinamp.h"
#include "settings/InstellingenStore.h"
#include "support/ControlTestHost.h"
#include "winamp/WinampMessages.h"

namespace tb::test {

// Each status text as UTF-16 with its size; any other sender or data id fails the test.
struct MessengerWindow : WindowHandler {
    std::vector<std::u16string> texts;
    std::vector<std::size_t> cbData;
    LResult onCopyData(Hwnd from, std::uintptr_t dwData,
                       std::span<const std::uint8_t> data) override {
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(dwData, 1351u);
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
        texts.push_back(text);
        cbData.push_back(data.size());
        return 0;
    }
};

struct BarScene {
    explicit BarScene(bool winampRunning = true) : winamp(desk, winampRunning) {}
    // A setting as the settings window stores it.
    void store(const std::string& name, std::int32_t value) {
        app.registryAccess().WriteDWORD(instellingen::kSleutel, name, value);
    }
    std::int32_t stored(const std::string& name) {
        return app.registryAccess().ReadDWORD(instellingen::kSleutel, name, -1);
    }
    std::string log() {
        return desk.files().readFile("C:\\Apps\\log05122026160709.log").value_or("");
    }
    // `n` entries "Artist <i> - Song", entry `current` playing.
    void playlist(int n, int current = 3) {
        std::vector<model::PlaylistEntry> entries;
        for (int i = 0; i < n; ++i)
            entries.push_back({"Artist " + std::to_string(i) + " - Song", "", 200 + i});
        winamp.model().setPlaylist(entries);
        winamp.model().setCurrent(current);
        winamp.model().setStatus(model::PlayStatus::Playing);
    }
    // Loaded, shown and a second on; the pointer on its strip brings it into view.
    void start(bool intoView = true) {
        bar.Load();
        bar.Show();
        if (intoView) desk.setCursorPos({512, 1});
        desk.advance(1000);
    }
    // Screen points: of a client point of the bar, and of a point of a control (its middle).
    Point at(std::int32_t x, std::int32_t y) {
        const Rect c = desk.clientRect(bar.hWnd());
        return {c.left + x, c.top + y};
    }
    Point on(const Control& c, std::int32_t dx = -1, std::int32_t dy = -1) {
        const Rect b = c.bounds();
        return at(b.left + (dx < 0 ? b.width() / 2 : dx), b.top + (dy < 0 ? b.height() / 2 : dy));
    }
    void click(Point p, MouseAction press = MouseAction::Down) {
        desk.mouse(p, press, mouse::Left);
        desk.mouse(p, MouseAction::Up, mouse::Left);
    }
    // What reached the player after `from`: commands by id, jumps and list positions as
    // "q<id>:<data>".
    std::vector<std::string> received(std::size_t from = 0) {
        std::vector<std::string> r;
        const auto& j = winamp.model().journal();
        for (std::size_t i = from; i < j.size(); ++i) {
            if (j[i].msg == winamp::kCommandMessage) r.push_back(std::to_string(j[i].wParam));
            if (j[i].msg == winamp::kQueryMessage && (j[i].lParam == winamp::ipc::JumpToTime ||
                                                      j[i].lParam == winamp::ipc::SetPlaylistPos))
                r.push_back("q" + std::to_string(j[i].lParam) + ":" + std::to_string(j[i].wParam));
        }
        return r;
    }

    TestDesktop desk;
    sim::SimWinamp winamp;
    sim::SimRegistry registry;
    AppContext app{desk, registry};
    frmMain bar{app};
};

}  // namespace tb::test
