// winamp_bench.exe: the cost of one synchronisation's worth of Winamp queries through WinampAPI,
// side by side with the bare Win32 calls the same protocol needs (the floor).
//
//   winamp_bench.exe [--iterations N] [--rounds R]
//
// It talks to a running player, or starts demoplayer.exe from its own folder (and ends it).
// One iteration is what the one-second synchronisation asks: IsRunning, TrackTime (two
// queries), TrackTimeTotal, TrackTimePosition, Volume and SongTitle (TrackNumber, the title's
// address, one memory read): eight window lookups, seven sent messages, one process open,
// read and close. Short rounds of each alternate; the median and the best round are shown.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Bench.h"
#include "platform/win32/Win32Desktop.h"
#include "winamp/WinampAPI.h"
#include "winamp/WinampMessages.h"

namespace {

// What the algorithm needs from Win32 and nothing more. With `withTimeout` the sends are
// SendMessageTimeout, as WinampAPI makes them so that a hung player cannot freeze the bar.
std::size_t floorIteration(bool withTimeout) {
    const char* cls = tb::winamp::kWindowClass;
    const UINT q = tb::winamp::kQueryMessage;
    HWND h = nullptr;
    auto ask = [&](LPARAM id, WPARAM data) -> LRESULT {
        h = FindWindowA(cls, nullptr);
        if (!withTimeout) return SendMessageA(h, q, data, id);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(h, q, data, id, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                            tb::WinampAPI::kReplyTimeoutMs, &result);
        return static_cast<LRESULT>(result);
    };
    FindWindowA(cls, nullptr);  // IsRunning
    ask(tb::winamp::ipc::GetOutputTime, 0);
    ask(tb::winamp::ipc::GetOutputTime, 1);
    ask(tb::winamp::ipc::GetOutputTime, 1);
    ask(tb::winamp::ipc::GetOutputTime, 0);
    ask(tb::winamp::ipc::SetVolume,
        static_cast<WPARAM>(static_cast<INT_PTR>(tb::winamp::kVolumeQuery)));
    LRESULT pos = ask(tb::winamp::ipc::GetListPos, 0);
    LRESULT address = ask(tb::winamp::ipc::GetPlaylistTitle, static_cast<WPARAM>(pos));
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
    char buffer[1024] = {};
    SIZE_T read = 0;
    ReadProcessMemory(
        process,
        reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(address))),
        buffer, sizeof buffer, &read);
    CloseHandle(process);
    return strnlen(buffer, sizeof buffer - 1);
}

std::size_t apiIteration(tb::WinampAPI& api) {
    std::size_t sink = api.IsRunning() ? 1 : 0;
    sink += api.TrackTime().size();
    sink += static_cast<std::size_t>(api.TrackTimeTotal());
    sink += static_cast<std::size_t>(api.TrackTimePosition());
    sink += static_cast<std::size_t>(api.Volume());
    sink += api.SongTitle().size();
    return sink;
}

PROCESS_INFORMATION startDemoPlayer() {
    PROCESS_INFORMATION pi{};
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe);
    path = path.substr(0, path.find_last_of("\\/") + 1) + "demoplayer.exe";
    std::string cmd = "\"" + path + "\" --play";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return {};
    for (int i = 0; i < 200 && !FindWindowA(tb::winamp::kWindowClass, nullptr); ++i) Sleep(50);
    return pi;
}

}  // namespace

int main(int argc, char** argv) {
    int iterations = 200;
    int rounds = 41;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--iterations") iterations = std::max(1, std::atoi(argv[i + 1]));
        if (a == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    PROCESS_INFORMATION started{};
    if (!FindWindowA(tb::winamp::kWindowClass, nullptr)) started = startDemoPlayer();
    if (!FindWindowA(tb::winamp::kWindowClass, nullptr)) {
        std::fprintf(stderr, "winamp_bench: no player window and demoplayer.exe did not start\n");
        return 1;
    }

    tb::win32::Win32Desktop desktop;
    tb::WinampAPI api(desktop);
    std::printf("title: %s\n", api.SongTitle().c_str());
    volatile std::size_t sink = 0;
    for (int i = 0; i < 200; ++i)  // warm up
        sink = sink + floorIteration(false) + floorIteration(true) + apiIteration(api);

    // Short rounds, interleaved, so that load from elsewhere hits all three alike.
    std::vector<double> floorUs, timeoutUs, apiUs;
    for (int r = 0; r < rounds; ++r) {
        double t0 = nowUs();
        for (int i = 0; i < iterations; ++i) sink = sink + floorIteration(false);
        double t1 = nowUs();
        for (int i = 0; i < iterations; ++i) sink = sink + floorIteration(true);
        double t2 = nowUs();
        for (int i = 0; i < iterations; ++i) sink = sink + apiIteration(api);
        double t3 = nowUs();
        floorUs.push_back((t1 - t0) / iterations);
        timeoutUs.push_back((t2 - t1) / iterations);
        apiUs.push_back((t3 - t2) / iterations);
    }
    const Spread f = spread(floorUs), t = spread(timeoutUs), a = spread(apiUs);
    std::printf("%d rounds of %d synchronisations; us per synchronisation, median (best)\n", rounds,
                iterations);
    std::printf("floor, SendMessage         : %9.2f (%9.2f)\n", f.median, f.best);
    std::printf("floor, SendMessageTimeout  : %9.2f (%9.2f)\n", t.median, t.best);
    std::printf("WinampAPI                  : %9.2f (%9.2f)\n", a.median, a.best);
    std::printf("ratio WinampAPI / floor    : %9.3f (%9.3f)\n", a.median / f.median,
                a.best / f.best);

    if (started.hProcess) {
        TerminateProcess(started.hProcess, 0);
        WaitForSingleObject(started.hProcess, 5000);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return 0;
}
