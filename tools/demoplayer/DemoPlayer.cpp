// demoplayer.exe: a stand-in media player for demos and end-to-end tests. Its main window has
// the class Tunebalk looks for and answers the player's window-message protocol through the
// same model the unit tests run inside the simulation.
//
//   --playlist FILE        entries from a text file (see PlayerModel::parsePlaylist)
//   --journal FILE         append "msg wParam lParam reply" for every protocol message
//   --play                 start playing
//   --pause                start paused (the position then stays put)
//   --current N            start at entry N (0-based)
//   --position-ms N        start at this position
//   --volume N             start at this volume (0..255)
//   --title-length N       make the first entry's title exactly N bytes long
//   --title-near-noaccess  put every string right before a page that cannot be read
//   --hang-after-ms N      stop answering N ms after start ...
//   --hang-seconds S       ... for S seconds (default 10)
// A query with the private id standin::ipc::HangForMs hangs it on demand.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "LowStringStore.h"
#include "standin/PlayerModel.h"
#include "winamp/WinampMessages.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kHangTimer = 2;
constexpr UINT kHangMessage = WM_APP + 1;  // posted to itself: wParam = milliseconds
constexpr int kButtonCount = 6;

struct Options {
    std::string playlist;
    std::string journal;
    bool play = false;
    bool pause = false;
    int current = 0;
    long long positionMs = 0;
    int volume = -1;
    int titleLength = -1;
    bool titleNearNoAccess = false;
    long long hangAfterMs = -1;
    long long hangSeconds = 10;
};

struct App {
    Options options;
    std::unique_ptr<demoplayer::LowStringStore> store;
    tb::model::PlayerModel model;
    FILE* journal = nullptr;
    HWND hwnd = nullptr;
    std::string shown;  // the text last painted, to repaint only on change
};

App* g_app = nullptr;

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (a != name || i + 1 >= argc) return nullptr;
            return argv[++i];
        };
        if (a == "--play") {
            o.play = true;
        } else if (a == "--pause") {
            o.pause = true;
        } else if (a == "--title-near-noaccess") {
            o.titleNearNoAccess = true;
        } else if (const char* v = value("--playlist")) {
            o.playlist = v;
        } else if (const char* v = value("--journal")) {
            o.journal = v;
        } else if (const char* v = value("--current")) {
            o.current = std::atoi(v);
        } else if (const char* v = value("--position-ms")) {
            o.positionMs = std::atoll(v);
        } else if (const char* v = value("--volume")) {
            o.volume = std::atoi(v);
        } else if (const char* v = value("--title-length")) {
            o.titleLength = std::atoi(v);
        } else if (const char* v = value("--hang-after-ms")) {
            o.hangAfterMs = std::atoll(v);
        } else if (const char* v = value("--hang-seconds")) {
            o.hangSeconds = std::atoll(v);
        } else {
            std::fprintf(stderr, "demoplayer: unknown option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

std::string statusText(tb::model::PlayStatus s) {
    switch (s) {
        case tb::model::PlayStatus::Playing:
            return "playing";
        case tb::model::PlayStatus::Paused:
            return "paused";
        default:
            return "stopped";
    }
}

std::string stateText(const tb::model::PlayerModel& m) {
    const tb::model::PlaylistEntry* e = m.currentEntry();
    std::ostringstream s;
    s << (e ? std::to_string(m.current() + 1) + ". " + e->title : std::string("(empty playlist)"))
      << "\n"
      << m.displayTime() << "   " << statusText(m.status()) << "\n"
      << "volume " << m.volume() << " / 255   shuffle " << (m.shuffle() ? "on" : "off") << "   "
      << m.playlist().size() << " entries";
    return s.str();
}

void refresh(App& app) {
    std::string text = stateText(app.model);
    if (text == app.shown) return;
    app.shown = text;
    const tb::model::PlaylistEntry* e = app.model.currentEntry();
    std::string caption = e ? std::to_string(app.model.current() + 1) + ". " +
                                  e->title.substr(0, 200) + " - Demo player"
                            : std::string("Demo player");
    SetWindowTextA(app.hwnd, caption.c_str());
    InvalidateRect(app.hwnd, nullptr, TRUE);
}

void hang(DWORD ms) {
    // Blocking the window's thread is what a hung player looks like from outside.
    Sleep(ms);
}

void paint(App& app, HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    rc.left += 8;
    rc.top += 8;
    rc.bottom = rc.top + 60;
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, app.shown.c_str(), static_cast<int>(app.shown.size()), &rc,
              DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

void createButtons(HWND hwnd) {
    const struct {
        const char* text;
        int id;
    } buttons[kButtonCount] = {
        {"|<", tb::winamp::cmd::Previous}, {"Play", tb::winamp::cmd::Play},
        {"Pause", tb::winamp::cmd::Pause}, {"Stop", tb::winamp::cmd::Stop},
        {">|", tb::winamp::cmd::Next},     {"Shuffle", tb::winamp::cmd::ToggleShuffle},
    };
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < kButtonCount; ++i) {
        // The buttons' ids are the player's command ids, so a click travels the same road
        // as a command from outside.
        HWND b = CreateWindowExA(0, "BUTTON", buttons[i].text,
                                 WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8 + i * 58, 76, 54, 24,
                                 hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttons[i].id)),
                                 GetModuleHandleA(nullptr), nullptr);
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

LRESULT CALLBACK wndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    App& app = *g_app;
    if (std::optional<LRESULT> reply = app.model.handleMessage(msg, w, l)) {
        refresh(app);
        return *reply;
    }
    switch (msg) {
        case WM_CREATE:
            app.hwnd = hwnd;
            createButtons(hwnd);
            return 0;
        case WM_TIMER:
            if (w == kTickTimer) {
                app.model.advanceTo(GetTickCount64());
                app.model.clearJournal();  // the file keeps it; memory need not grow for days
                refresh(app);
            } else if (w == kHangTimer) {
                KillTimer(hwnd, kHangTimer);
                hang(static_cast<DWORD>(app.options.hangSeconds * 1000));
            }
            return 0;
        case kHangMessage:
            hang(static_cast<DWORD>(w));
            return 0;
        case WM_PAINT:
            paint(app, hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, w, l);
    }
}

std::string padTitle(std::string title, int length) {
    static const char kFill[] = " la la la";
    while (static_cast<int>(title.size()) < length)
        title += kFill[title.size() % (sizeof kFill - 1)];
    title.resize(static_cast<std::size_t>(length));
    return title;
}

bool setUp(App& app) {
    const Options& o = app.options;
    if (!o.playlist.empty()) {
        std::ifstream in(o.playlist, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "demoplayer: cannot read %s\n", o.playlist.c_str());
            return false;
        }
        std::stringstream text;
        text << in.rdbuf();
        app.model.setPlaylist(tb::model::PlayerModel::parsePlaylist(text.str()));
    }
    if (o.titleLength >= 0 && !app.model.playlist().empty()) {
        auto entries = app.model.playlist();
        entries[0].title = padTitle(entries[0].title, o.titleLength);
        app.model.setPlaylist(std::move(entries));
    }
    app.store = std::make_unique<demoplayer::LowStringStore>(o.titleNearNoAccess);
    if (!app.store->init()) std::fprintf(stderr, "demoplayer: no memory below 2 GB\n");
    app.model.setStore(app.store.get());
    app.model.setCurrent(o.current);
    if (o.volume >= 0) app.model.setVolume(o.volume);
    if (o.play) app.model.setStatus(tb::model::PlayStatus::Playing);
    if (o.pause) app.model.setStatus(tb::model::PlayStatus::Paused);
    if (o.positionMs > 0) app.model.setPositionMs(o.positionMs);
    app.model.advanceTo(GetTickCount64());

    if (!o.journal.empty()) {
        app.journal = std::fopen(o.journal.c_str(), "ab");
        if (!app.journal) {
            std::fprintf(stderr, "demoplayer: cannot write %s\n", o.journal.c_str());
            return false;
        }
    }
    app.model.onJournal = [&app](const tb::model::JournalEntry& e) {
        if (!app.journal) return;
        std::string line = e.line() + "\n";
        std::fwrite(line.data(), 1, line.size(), app.journal);
        std::fflush(app.journal);
    };
    // Hang after the reply has gone out, not inside the message being answered.
    app.model.onHangRequested = [&app](std::uint32_t ms) {
        PostMessageA(app.hwnd, kHangMessage, ms, 0);
    };
    app.model.onCloseRequested = [&app] { PostMessageA(app.hwnd, WM_CLOSE, 0, 0); };
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    App app;
    g_app = &app;
    if (!parseOptions(__argc, __argv, app.options) || !setUp(app)) return 2;

    WNDCLASSA wc{};
    wc.lpfnWndProc = wndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = tb::winamp::kWindowClass;
    if (!RegisterClassA(&wc)) return 3;

    RECT r{0, 0, 8 + kButtonCount * 58 + 4, 108};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME & ~WS_MAXIMIZEBOX, FALSE);
    HWND hwnd =
        CreateWindowExA(0, tb::winamp::kWindowClass, "Demo player",
                        WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME & ~WS_MAXIMIZEBOX, 40, 300,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 4;
    refresh(app);
    ShowWindow(hwnd, show);
    SetTimer(hwnd, kTickTimer, 100, nullptr);
    if (app.options.hangAfterMs >= 0)
        SetTimer(hwnd, kHangTimer, static_cast<UINT>(app.options.hangAfterMs), nullptr);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (app.journal) std::fclose(app.journal);
    g_app = nullptr;
    return 0;
}
