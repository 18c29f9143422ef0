// Start-up and close of the real tunebalk.exe, observed from outside: its windows, its log file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path binFolder() {
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return fs::path(buf).parent_path();
}

// Each test runs its own copy of the exe, so log files of one test never meet another's.
class ScratchCopy {
public:
    explicit ScratchCopy(const std::string& name) {
        folder_ = fs::temp_directory_path() / ("tunebalk-e2e-" + name + "-" +
                                               std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy_file(binFolder() / "tunebalk.exe", folder_ / "tunebalk.exe");
    }
    ~ScratchCopy() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    const fs::path& folder() const { return folder_; }
    std::vector<fs::path> logFiles() const {
        std::vector<fs::path> out;
        for (auto& e : fs::directory_iterator(folder_))
            if (e.path().extension() == ".log") out.push_back(e.path());
        return out;
    }

private:
    fs::path folder_;
};

class Process {
public:
    Process(const fs::path& exe, const std::string& args) {
        std::string cmd = "\"" + exe.string() + "\"";
        if (!args.empty()) cmd += " " + args;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string dir = exe.parent_path().string();
        ok_ = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                             &si, &pi_) != 0;
    }
    ~Process() {
        if (!ok_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    bool started() const { return ok_; }
    DWORD pid() const { return pi_.dwProcessId; }
    bool waitExit(DWORD ms) { return WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

template <class F>
bool waitFor(F cond, DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (cond()) return true;
        Sleep(50);
    }
    return cond();
}

struct Found {
    DWORD pid;
    const char* cls;
    HWND hwnd = nullptr;
};

HWND findProcessWindow(DWORD pid, const char* cls) {
    Found f{pid, cls};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            char name[64] = {};
            GetClassNameA(h, name, sizeof name);
            if (owner == f->pid && std::string(name) == f->cls) {
                f->hwnd = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.hwnd;
}

int countBars() {
    int n = 0;
    for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, "Tunebalk4"); h;
         h = FindWindowExA(nullptr, h, nullptr, "Tunebalk4"))
        ++n;
    return n;
}

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

HWND startBar(Process& p) {
    HWND bar = nullptr;
    waitFor([&] { return (bar = findProcessWindow(p.pid(), "TunebalkBar")) != nullptr; }, 20000);
    return bar;
}

TEST(Startup, DebugWritesTheLogBesideTheExeAndTheBarIsTopmostAtItsSize) {
    ScratchCopy copy("debug");
    Process p(copy.folder() / "tunebalk.exe", "/debug");
    ASSERT_TRUE(p.started());
    HWND bar = startBar(p);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(bar) != 0; }, 5000));

    char caption[64] = {};
    GetWindowTextA(bar, caption, sizeof caption);
    EXPECT_STREQ(caption, "Tunebalk4");
    RECT r{};
    GetWindowRect(bar, &r);
    HDC dc = GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(r.right - r.left, MulDiv(8130, dpiX, 1440));
    EXPECT_EQ(r.bottom - r.top, MulDiv(1440, dpiY, 1440));
    EXPECT_EQ(r.top, 0);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_TRUE(GetWindowLongA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);

    PostMessageA(bar, WM_CLOSE, 0, 0);
    ASSERT_TRUE(p.waitExit(15000));

    auto logs = copy.logFiles();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(std::regex_match(logs[0].filename().string(), std::regex(R"(log\d{14}\.log)")))
        << logs[0];
    std::string text = readAll(logs[0]);
    std::regex expected(
        R"(Log start \(\d\d-\d\d-\d{4}, \d\d:\d\d:\d\d\)\r\n)"
        R"(Tunebalk load\r\n)"
        R"(Tunebalk load OK\r\n)"
        R"(Log eind \(\d\d-\d\d-\d{4}, \d\d:\d\d:\d\d\)\r\n)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(Startup, OtherCommandLinesWriteNoLog) {
    for (const char* args : {"", "/DEBUG", "/debug x", "debug"}) {
        ScratchCopy copy("nolog");
        Process p(copy.folder() / "tunebalk.exe", args);
        ASSERT_TRUE(p.started());
        HWND bar = startBar(p);
        ASSERT_NE(bar, nullptr) << args;
        PostMessageA(bar, WM_CLOSE, 0, 0);
        ASSERT_TRUE(p.waitExit(15000)) << args;
        EXPECT_TRUE(copy.logFiles().empty()) << args;
    }
}

TEST(Startup, ASecondStartIsRefusedWithAMessageAndLeavesOneBar) {
    ScratchCopy first("first");
    Process bar1(first.folder() / "tunebalk.exe", "");
    ASSERT_TRUE(bar1.started());
    HWND bar = startBar(bar1);
    ASSERT_NE(bar, nullptr);

    ScratchCopy second("second");
    Process bar2(second.folder() / "tunebalk.exe", "/debug");
    ASSERT_TRUE(bar2.started());
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = findProcessWindow(bar2.pid(), "#32770")) != nullptr; },
                        20000));
    char title[64] = {};
    GetWindowTextA(box, title, sizeof title);
    EXPECT_STREQ(title, "Tunebalk");
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    EXPECT_STREQ(text, "Er is al een Tunebalk sessie actief!");
    EXPECT_EQ(findProcessWindow(bar2.pid(), "TunebalkBar") == nullptr ||
                  !IsWindowVisible(findProcessWindow(bar2.pid(), "TunebalkBar")),
              true);

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(bar2.waitExit(15000));
    EXPECT_EQ(countBars(), 1);
    EXPECT_TRUE(second.logFiles().empty());

    PostMessageA(bar, WM_CLOSE, 0, 0);
    EXPECT_TRUE(bar1.waitExit(15000));
}

}  // namespace
