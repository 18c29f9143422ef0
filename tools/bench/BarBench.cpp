// bar_bench.exe: the bar's own costs under a real window system, each beside the bare Win32
// calls it cannot do without (its floor), measured in the same run.
//
//   bar_bench.exe tick [--iterations N] [--rounds R]
//       one synchronisation through the bar's handler (tmrSync_Timer, its controls and the
//       repaint they ask for) against the raw queries of one synchronisation
//   bar_bench.exe refresh [--entries N] [--rounds R]
//       a refresh of an N-entry playlist (RefreshPlaylist) against the naive loop (per entry a
//       window lookup, the title query and an open, read and close of the player's process)
//       and that loop with one open for the whole list; and the longest gap between two
//       events the bar handled meanwhile
//   bar_bench.exe slide [--rounds R]
//       the dock's slide in and out: its ticks, window moves and paint messages, and its time
//   bar_bench.exe idle-window SECONDS     an empty topmost window doing nothing (a CPU floor)
//   bar_bench.exe raw-sync SECONDS        the raw queries of one synchronisation a second
//   bar_bench.exe raw-dock SECONDS        the hidden dock's raw queries (pointer, window
//                                         rectangle, foreground window) five times a second
//   bar_bench.exe watch MINUTES [--every SECONDS]
//       the running bar's GDI and USER objects, handles and memory, one line per sample
//
// tick and refresh talk to a running player, or start demoplayer.exe from their own folder
// (refresh with a playlist of N entries of its own making) and end it.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Bench.h"
#include "app/AppContext.h"
#include "app/frmMain.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Registry.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace {

int optionValue(int argc, char** argv, const char* name, int fallback) {
    for (int i = 2; i + 1 < argc; ++i)
        if (std::string(argv[i]) == name) return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

const char* const kClass = tb::winamp::kWindowClass;
const UINT kQuery = tb::winamp::kQueryMessage;

LRESULT ask(HWND& h, LPARAM id, WPARAM data) {
    h = FindWindowA(kClass, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(h, kQuery, data, id, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                        tb::WinampAPI::kReplyTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

std::size_t readTitle(HANDLE process, LRESULT address) {
    char buffer[tb::WinampAPI::kRemoteReadSize] = {};
    SIZE_T read = 0;
    ReadProcessMemory(
        process,
        reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(address))),
        buffer, sizeof buffer, &read);
    return strnlen(buffer, sizeof buffer - 1);
}

// The queries of one synchronisation as bare calls: eight window lookups, seven sent messages
// (with a timeout, as a bar that must survive a hung player sends them), one process open,
// read and close.
std::size_t rawSync() {
    HWND h = nullptr;
    FindWindowA(kClass, nullptr);  // is it running
    ask(h, tb::winamp::ipc::GetOutputTime, 0);
    ask(h, tb::winamp::ipc::GetOutputTime, 1);
    ask(h, tb::winamp::ipc::GetOutputTime, 1);
    ask(h, tb::winamp::ipc::GetOutputTime, 0);
    ask(h, tb::winamp::ipc::SetVolume,
        static_cast<WPARAM>(static_cast<INT_PTR>(tb::winamp::kVolumeQuery)));
    const LRESULT pos = ask(h, tb::winamp::ipc::GetListPos, 0);
    const LRESULT address = ask(h, tb::winamp::ipc::GetPlaylistTitle, static_cast<WPARAM>(pos));
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
    const std::size_t n = readTitle(process, address);
    CloseHandle(process);
    return n;
}

// The naive refresh: per entry a lookup, the title query and the process opened, read and
// closed; with `oneOpen` the process stays open for the whole list.
std::size_t rawRefresh(int entries, bool oneOpen) {
    std::size_t sink = 0;
    HWND h = FindWindowA(kClass, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE held = oneOpen ? OpenProcess(PROCESS_VM_READ, FALSE, pid) : nullptr;
    for (int i = 0; i < entries; ++i) {
        const LRESULT address = ask(h, tb::winamp::ipc::GetPlaylistTitle, static_cast<WPARAM>(i));
        GetWindowThreadProcessId(h, &pid);
        HANDLE process = held ? held : OpenProcess(PROCESS_VM_READ, FALSE, pid);
        sink += readTitle(process, address);
        if (!held) CloseHandle(process);
    }
    if (held) CloseHandle(held);
    return sink;
}

// A demo player of our own, ended with the bench.
struct Player {
    PROCESS_INFORMATION pi{};
    ~Player() {
        if (!pi.hProcess) return;
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    bool start(const std::string& arguments) {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string path(exe);
        path = path.substr(0, path.find_last_of("\\/") + 1) + "demoplayer.exe";
        std::string cmd = "\"" + path + "\" " + arguments;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return false;
        for (int i = 0; i < 200 && !FindWindowA(kClass, nullptr); ++i) Sleep(50);
        return FindWindowA(kClass, nullptr) != nullptr;
    }
};

// A bar as the program makes it, in view at the top of the screen, its start-up settled.
struct Bar {
    tb::win32::Win32Desktop desktop;
    tb::win32::Win32Registry registry;
    tb::AppContext app{desktop, registry};
    tb::frmMain bar{app};
    explicit Bar(bool inView = true) {
        bar.Show();
        desktop.waitEventsUntil(desktop.tickCountMs() + 200);  // the dock's delayed start
        if (!inView) return;
        if (auto r = desktop.windowRect(bar.hWnd()))
            desktop.moveWindow(bar.hWnd(), tb::Rect::fromXYWH(r->left, 0, r->width(), r->height()));
        desktop.waitEventsUntil(desktop.tickCountMs() + 100);
    }
};

int tick(int argc, char** argv) {
    const int iterations = optionValue(argc, argv, "--iterations", 200);
    const int rounds = optionValue(argc, argv, "--rounds", 31);
    Player player;
    if (!FindWindowA(kClass, nullptr) && !player.start("--play --title-length 200")) {
        std::fprintf(stderr, "bar_bench: no player window and demoplayer.exe did not start\n");
        return 1;
    }
    Bar b;
    volatile std::size_t sink = 0;
    for (int i = 0; i < 100; ++i) {  // warm up; the first tick shows the title
        sink = sink + rawSync();
        b.bar.tmrSync_Timer();
        b.desktop.doEvents();
    }
    // In a tight loop the time and the position rarely change; this puts them off before a
    // tick so that it changes both and repaints them, as a tick a second does (the progress
    // slider's change reaches Winamp only while it is held).
    auto unsettle = [&b] {
        b.bar.lblTijd.setCaption("-");
        b.bar.sliderProgress.setValue(b.bar.sliderProgress.Min());
    };
    std::vector<double> rawUs, handlerUs, paintedUs, changedUs;
    for (int r = 0; r < rounds; ++r) {
        const double t0 = nowUs();
        for (int i = 0; i < iterations; ++i) sink = sink + rawSync();
        const double t1 = nowUs();
        for (int i = 0; i < iterations; ++i) b.bar.tmrSync_Timer();
        const double t2 = nowUs();
        for (int i = 0; i < iterations; ++i) {
            b.bar.tmrSync_Timer();
            // The paint that the changed controls ask for (UpdateWindow: now, not later).
            UpdateWindow(reinterpret_cast<HWND>(b.bar.hWnd()));
        }
        const double t3 = nowUs();
        for (int i = 0; i < iterations; ++i) {
            unsettle();
            b.bar.tmrSync_Timer();
            UpdateWindow(reinterpret_cast<HWND>(b.bar.hWnd()));
        }
        const double t4 = nowUs();
        rawUs.push_back((t1 - t0) / iterations);
        handlerUs.push_back((t2 - t1) / iterations);
        paintedUs.push_back((t3 - t2) / iterations);
        changedUs.push_back((t4 - t3) / iterations);
        b.desktop.doEvents();
    }
    const Spread raw = spread(rawUs), handler = spread(handlerUs), painted = spread(paintedUs),
                 changed = spread(changedUs);
    std::printf("%d rounds of %d synchronisations; us per synchronisation, median (best)\n", rounds,
                iterations);
    std::printf("raw calls                     : %9.2f (%9.2f)\n", raw.median, raw.best);
    std::printf("tmrSync_Timer                 : %9.2f (%9.2f)\n", handler.median, handler.best);
    std::printf("tmrSync_Timer and its repaint : %9.2f (%9.2f)\n", painted.median, painted.best);
    std::printf("moved time+slider, repainted   : %9.2f (%9.2f)\n", changed.median, changed.best);
    std::printf("ratio handler / raw           : %9.3f (%9.3f)\n", handler.median / raw.median,
                handler.best / raw.best);
    std::printf("ratio handler+repaint / raw   : %9.3f (%9.3f)\n", painted.median / raw.median,
                painted.best / raw.best);
    std::printf("ratio moved+repaint / raw     : %9.3f (%9.3f)\n", changed.median / raw.median,
                changed.best / raw.best);
    return 0;
}

int refresh(int argc, char** argv) {
    const int entries = optionValue(argc, argv, "--entries", 10000);
    const int rounds = optionValue(argc, argv, "--rounds", 5);
    Player player;
    if (FindWindowA(kClass, nullptr)) {
        std::fprintf(stderr, "bar_bench refresh: close the running player first\n");
        return 1;
    }
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string list = std::string(dir) + "bar_bench_playlist.txt";
    {
        std::ofstream out(list, std::ios::binary);
        for (int i = 0; i < entries; ++i)
            out << "Artist " << i << " - A song of some length, number " << i << "\t200\r\n";
    }
    if (!player.start("--play --playlist \"" + list + "\"")) {
        std::fprintf(stderr, "bar_bench: demoplayer.exe did not start\n");
        return 1;
    }
    Bar b;
    tb::WinampAPI& winamp = b.app.winamp();
    if (winamp.TracksInPlaylist() != entries) {
        std::fprintf(stderr, "bar_bench: the player holds %d entries, not %d\n",
                     winamp.TracksInPlaylist(), entries);
        return 1;
    }
    // The longest wait between two events handled during the refresh: a 10 ms timer stamps
    // each of its ticks (Windows' timers tick every 10 to 16 ms at best).
    double lastEventUs = 0, longestGapUs = 0;
    bool watching = false;
    const tb::TimerId probe = b.desktop.startTimer(10, [&] {
        const double t = nowUs();
        if (watching) longestGapUs = std::max(longestGapUs, t - lastEventUs);
        lastEventUs = t;
    });
    volatile std::size_t sink = 0;
    std::vector<double> naiveMs, heldMs, barMs, gapMs;
    for (int r = 0; r < rounds; ++r) {
        double t0 = nowUs();
        sink = sink + rawRefresh(entries, false);
        double t1 = nowUs();
        sink = sink + rawRefresh(entries, true);
        double t2 = nowUs();
        longestGapUs = 0;
        lastEventUs = nowUs();
        watching = true;
        b.bar.mirror.RefreshPlaylist();
        const double t3 = nowUs();
        longestGapUs = std::max(longestGapUs, t3 - lastEventUs);
        watching = false;
        naiveMs.push_back((t1 - t0) / 1000);
        heldMs.push_back((t2 - t1) / 1000);
        barMs.push_back((t3 - t2) / 1000);
        gapMs.push_back(longestGapUs / 1000);
        b.desktop.doEvents();
    }
    b.desktop.stopTimer(probe);
    DeleteFileA(list.c_str());
    if (b.bar.Playlist1.ItemCount() != entries) {
        std::fprintf(stderr, "bar_bench: the view holds %d entries\n", b.bar.Playlist1.ItemCount());
        return 1;
    }
    const Spread naive = spread(naiveMs), held = spread(heldMs), bar = spread(barMs),
                 gap = spread(gapMs);
    std::printf("%d refreshes of %d entries; ms, median (best)\n", rounds, entries);
    std::printf("naive floor (open/read/close each) : %9.1f (%9.1f)\n", naive.median, naive.best);
    std::printf("floor with one open                : %9.1f (%9.1f)\n", held.median, held.best);
    std::printf("RefreshPlaylist                    : %9.1f (%9.1f)\n", bar.median, bar.best);
    std::printf("ratio RefreshPlaylist / naive      : %9.3f (%9.3f)\n", bar.median / naive.median,
                bar.best / naive.best);
    std::printf("share of open/close in naive floor : %8.1f %%\n",
                100.0 * (naive.median - held.median) / naive.median);
    std::printf("longest gap between events, ms     : %9.1f (worst %.1f)\n", gap.median,
                *std::max_element(gapMs.begin(), gapMs.end()));
    return 0;
}

int slide(int argc, char** argv) {
    const int rounds = optionValue(argc, argv, "--rounds", 10);
    Player player;
    if (!FindWindowA(kClass, nullptr) && !player.start("--play")) return 1;
    SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
    Bar b(false);
    tb::Form_TaskBar& dock = b.bar.Form_TaskBar1;
    // Moves and paint messages while a slide runs, and when it started and ended.
    struct Counter : tb::MessageHook {
        bool on = false;
        int moves = 0, paints = 0;
        std::optional<tb::LResult> onHookedMessage(tb::Hwnd, std::uint32_t msg, tb::WParam,
                                                   tb::LParam) override {
            if (on && msg == WM_WINDOWPOSCHANGED) ++moves;
            if (on && msg == WM_PAINT) ++paints;
            return std::nullopt;
        }
    } counter;
    b.desktop.setMessageHook(b.bar.hWnd(), &counter);
    double started = 0, ended = 0;
    bool done = false;
    const auto begin = [&] {
        started = nowUs();
        counter.on = true;
    };
    const auto end = [&] {
        ended = nowUs();
        counter.on = false;
        done = true;
    };
    auto startOpen = dock.onStartOpenUp;
    auto endClose = dock.onEndCloseUp;
    dock.onStartOpenUp = [&, startOpen] {
        begin();
        if (startOpen) startOpen();
    };
    dock.onStartCloseUp = begin;
    dock.onEndOpenUp = end;
    dock.onEndCloseUp = [&, endClose] {
        end();
        if (endClose) endClose();
    };
    const RECT parked = [&] {
        RECT r{};
        GetWindowRect(reinterpret_cast<HWND>(b.bar.hWnd()), &r);
        return r;
    }();
    std::vector<double> inMs, outMs;
    int inMoves = 0, outMoves = 0, inPaints = 0, outPaints = 0;
    for (int r = 0; r < rounds; ++r) {
        for (bool in : {true, false}) {
            done = false;
            counter.moves = counter.paints = 0;
            if (in)
                SetCursorPos((parked.left + parked.right) / 2, 0);
            else
                SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
            const std::uint64_t deadline = b.desktop.tickCountMs() + 3000;
            while (!done && b.desktop.tickCountMs() < deadline)
                b.desktop.waitEventsUntil(b.desktop.tickCountMs() + 5);
            b.desktop.waitEventsUntil(b.desktop.tickCountMs() + 300);  // let it settle
            (in ? inMs : outMs).push_back((ended - started) / 1000);
            (in ? inMoves : outMoves) += counter.moves;
            (in ? inPaints : outPaints) += counter.paints;
        }
    }
    b.desktop.removeMessageHook(b.bar.hWnd());
    const Spread i = spread(inMs), o = spread(outMs);
    std::printf("%d slides each way, NumSteps %d\n", rounds, dock.NumSteps());
    std::printf("in : %6.1f ms median (best %5.1f), %.1f moves and %.1f paint messages a slide\n",
                i.median, i.best, static_cast<double>(inMoves) / rounds,
                static_cast<double>(inPaints) / rounds);
    std::printf("out: %6.1f ms median (best %5.1f), %.1f moves and %.1f paint messages a slide\n",
                o.median, o.best, static_cast<double>(outMoves) / rounds,
                static_cast<double>(outPaints) / rounds);
    return 0;
}

// A message loop that ends after `seconds`; `onTick` runs every `periodMs`.
int loopFor(int seconds, void (*onTick)(), UINT periodMs = 1000) {
    static void (*callback)() = nullptr;
    callback = onTick;
    const UINT_PTR end = SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
    const UINT_PTR each = onTick ? SetTimer(nullptr, 0, periodMs, nullptr) : 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) {
            if (msg.wParam == end) break;
            if (msg.wParam == each && callback) callback();
            continue;
        }
        DispatchMessageA(&msg);
    }
    return 0;
}

int idleWindow(int argc, char** argv) {
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BarBenchIdle";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 100,
                             0, 542, 96, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    loopFor(seconds, nullptr);
    DestroyWindow(h);
    return 0;
}

int rawSyncLoop(int argc, char** argv) {
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    if (!FindWindowA(kClass, nullptr)) {
        std::fprintf(stderr, "bar_bench raw-sync: no player window\n");
        return 1;
    }
    return loopFor(seconds, [] { rawSync(); });
}

int rawDockLoop(int argc, char** argv) {
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    static HWND self = nullptr;
    self = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 100, -94, 542,
                           96, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(self, SW_SHOWNOACTIVATE);
    const int result = loopFor(
        seconds,
        [] {
            POINT p{};
            RECT r{};
            GetCursorPos(&p);
            GetWindowRect(self, &r);
            GetForegroundWindow();
        },
        tb::Form_TaskBar::kCheckIntervalMs);
    DestroyWindow(self);
    return result;
}

int watch(int argc, char** argv) {
    const int minutes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const int every = optionValue(argc, argv, "--every", 30);
    HWND bar = FindWindowA("TunebalkBar", nullptr);
    DWORD pid = 0;
    if (bar) GetWindowThreadProcessId(bar, &pid);
    HANDLE process =
        pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!process) {
        std::fprintf(stderr, "bar_bench watch: no running bar\n");
        return 1;
    }
    std::printf("seconds gdi user handles working_set_kb private_kb\n");
    for (int s = 0; s <= minutes * 60; s += every) {
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(process, &pmc, sizeof pmc);
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        std::printf("%d %lu %lu %lu %zu %zu\n", s, GetGuiResources(process, GR_GDIOBJECTS),
                    GetGuiResources(process, GR_USEROBJECTS), handles,
                    static_cast<std::size_t>(pmc.WorkingSetSize / 1024),
                    static_cast<std::size_t>(pmc.PagefileUsage / 1024));
        std::fflush(stdout);
        if (s + every <= minutes * 60) Sleep(static_cast<DWORD>(every) * 1000);
    }
    CloseHandle(process);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "tick") return tick(argc, argv);
    if (mode == "refresh") return refresh(argc, argv);
    if (mode == "slide") return slide(argc, argv);
    if (mode == "idle-window") return idleWindow(argc, argv);
    if (mode == "raw-sync") return rawSyncLoop(argc, argv);
    if (mode == "raw-dock") return rawDockLoop(argc, argv);
    if (mode == "watch") return watch(argc, argv);
    std::fprintf(stderr,
                 "usage: bar_bench.exe tick|refresh|slide|idle-window SECONDS|raw-sync "
                 "SECONDS|raw-dock SECONDS|"
                 "watch MINUTES [options]\n");
    return 2;
}
