#include "E2eTools.h"

#include <algorithm>
#include <atomic>
#include <fstream>

#include "common/Numeric.h"
#include "winamp/WinampMessages.h"

namespace fs = std::filesystem;

namespace tb::e2e {

fs::path binFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

int px(int twips) {
    static const int twipsPerPixel = [] {
        HDC dc = GetDC(nullptr);
        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        ReleaseDC(nullptr, dc);
        return 1440 / dpi;
    }();
    return static_cast<int>(divRoundHalfEven(twips, twipsPerPixel));
}

std::string tempFile(const std::string& stem) {
    static std::atomic<int> counter{0};
    const fs::path path =
        fs::temp_directory_path() / ("tb-" + stem + "-" + std::to_string(GetCurrentProcessId()) +
                                     "-" + std::to_string(++counter) + ".txt");
    DeleteFileA(path.string().c_str());
    return path.string();
}

std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

HWND findProcessWindow(DWORD pid, const char* cls, bool visibleOnly) {
    for (HWND h = FindWindowExA(nullptr, nullptr, cls, nullptr); h;
         h = FindWindowExA(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && (!visibleOnly || IsWindowVisible(h))) return h;
    }
    return nullptr;
}

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

void clickOnBar(HWND bar, int twipsX, int twipsY, int clicks) {
    const RECT r = windowRect(bar);
    send(test::leftClicks({r.left + px(twipsX), r.top + px(twipsY)}, clicks));
}

void pointerAway() { SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5); }

bool slideIn(HWND bar) {
    SetCursorPos((windowRect(bar).left + windowRect(bar).right) / 2, 0);
    return waitUntil([&] { return windowRect(bar).top == 0; }, 10000);
}

Process::Process(const fs::path& exe, const std::string& args) {
    std::string cmd = "\"" + exe.string() + "\" " + args;
    const std::string folder = exe.parent_path().string();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi_)) {
        pi_ = {};
    }
}

HWND Process::waitWindow(const char* cls, bool visibleOnly, DWORD ms) {
    hwnd_ = nullptr;
    if (!pi_.hProcess) return nullptr;
    waitUntil(
        [&] {
            hwnd_ = findProcessWindow(pid(), cls, visibleOnly);
            return hwnd_ != nullptr || waitExit(0);
        },
        ms);
    return hwnd_;
}

bool Process::waitExit(DWORD ms) const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

DWORD Process::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void Process::kill() {
    if (!pi_.hProcess) return;
    if (!waitExit(0)) {
        TerminateProcess(pi_.hProcess, 1);
        waitExit(10000);
    }
    // Under Wine a window can outlive its process for a moment; the next test may look for it.
    if (hwnd_) waitUntil([&] { return !IsWindow(hwnd_); }, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
    pi_ = {};
}

DemoPlayer::DemoPlayer(const std::string& args, const std::string& journal)
    : Process(binFolder() / "demoplayer.exe", "--journal \"" + journal + "\" " + args),
      journal_(journal) {
    waitWindow(winamp::kWindowClass);
}

DemoPlayer::~DemoPlayer() {
    kill();
    DeleteFileA(journal_.c_str());
}

int seen(const DemoPlayer& player, const std::string& line, int times) {
    int n = 0;
    waitUntil(
        [&] {
            const auto lines = player.journal();
            n = static_cast<int>(std::count(lines.begin(), lines.end(), line));
            return n >= times;
        },
        10000);
    return n;
}

namespace {
HKEY openSettings() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Oxalmo\\Tunebalk", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    return key;
}
}  // namespace

Setting::Setting(const char* name, DWORD value) : name_(name), key_(openSettings()) {
    RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

Setting::Setting(const char* name, const std::string& value) : name_(name), key_(openSettings()) {
    RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

Setting::~Setting() {
    RegDeleteValueA(key_, name_.c_str());
    RegCloseKey(key_);
}

TunebalkFolder::TunebalkFolder(const std::string& name)
    : folder_(fs::temp_directory_path() /
              ("tunebalk-e2e-" + name + "-" + std::to_string(GetCurrentProcessId()))) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(binFolder() / "tunebalk.exe", exe());
}

TunebalkFolder::~TunebalkFolder() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

std::vector<fs::path> TunebalkFolder::logFiles() const {
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(folder_))
        if (entry.path().extension() == ".log") logs.push_back(entry.path());
    return logs;
}

TunebalkRun::TunebalkRun(const std::string& name, const std::string& args)
    : folder_(name), process_(folder_.exe(), args) {}

TunebalkRun::~TunebalkRun() {
    if (bar_) close();
    process_.kill();
}

HWND TunebalkRun::bar() {
    if (!bar_) bar_ = process_.waitWindow("TunebalkBar", true);
    return bar_;
}

bool TunebalkRun::close() {
    return bar_ && PostMessageA(bar_, WM_CLOSE, 0, 0) && process_.waitExit(30000);
}

}  // namespace tb::e2e
