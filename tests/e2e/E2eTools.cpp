#include "E2eTools.h"

#include <atomic>
#include <fstream>

namespace tb::e2e {

std::string binFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/"));
}

std::string tempFile(const std::string& stem) {
    static std::atomic<int> counter{0};
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "tb-" + stem + "-" +
                       std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) +
                       ".txt";
    DeleteFileA(path.c_str());
    return path;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

namespace {
struct FindArgs {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK findOwnedWindow(HWND hwnd, LPARAM l) {
    auto* args = reinterpret_cast<FindArgs*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == args->pid && std::string(cls) == args->cls) {
        args->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

ToolProcess::ToolProcess(const std::string& exe, const std::string& args, const char* windowClass) {
    std::string cmd = "\"";
    cmd += binFolder();
    cmd += "\\";
    cmd += exe;
    cmd += "\" ";
    cmd += args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi_))
        return;
    waitUntil(
        [&] {
            FindArgs find{pi_.dwProcessId, windowClass, nullptr};
            EnumWindows(findOwnedWindow, reinterpret_cast<LPARAM>(&find));
            hwnd_ = find.found;
            return hwnd_ != nullptr || waitExit(0);
        },
        15000);
}

ToolProcess::~ToolProcess() {
    kill();
    if (pi_.hProcess) {
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
}

void ToolProcess::kill() {
    if (!pi_.hProcess) return;
    if (!waitExit(0)) {
        TerminateProcess(pi_.hProcess, 1);
        waitExit(5000);
    }
    if (hwnd_) waitUntil([&] { return !IsWindow(hwnd_); }, 5000);
}

bool ToolProcess::waitExit(DWORD ms) {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

}  // namespace tb::e2e
