// A desktop that only has files: in memory by default, or on disk. Enough for code that reads
// and writes files through the Desktop port (the registry export and import) in tests and tools
// that need no windows. Every other operation answers "nothing there".
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/Desktop.h"

namespace tb::test {

class FileDesktop : public Desktop {
public:
    enum class Storage { Memory, Disk };
    explicit FileDesktop(Storage storage = Storage::Memory) : storage_(storage) {}

    // In-memory files, for tests to place and inspect.
    std::map<std::string, std::string> files;
    // Makes createFile fail, and writes fail after `writesBeforeFailure` of them.
    bool failCreate = false;
    int writesBeforeFailure = -1;
    int doEventsCalls = 0;

    bool fileExists(const std::string& path) override {
        if (storage_ == Storage::Memory) return files.count(path) != 0;
        std::ifstream in(path, std::ios::binary);
        return static_cast<bool>(in);
    }
    std::unique_ptr<OutputFile> createFile(const std::string& path, bool failIfExists) override {
        if (failCreate || (failIfExists && fileExists(path))) return nullptr;
        if (storage_ == Storage::Memory) {
            files[path].clear();
            return std::make_unique<MemoryFile>(*this, path);
        }
        auto file = std::make_unique<DiskFile>(*this, path);
        return file->ok() ? std::move(file) : nullptr;
    }
    std::optional<std::string> readFile(const std::string& path) override {
        if (storage_ == Storage::Memory) {
            const auto it = files.find(path);
            if (it == files.end()) return std::nullopt;
            return it->second;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    void doEvents() override { ++doEventsCalls; }

    Hwnd findWindow(std::string_view) override { return 0; }
    Hwnd findWindowEx(Hwnd, std::string_view) override { return 0; }
    Hwnd createWindow(const WindowSpec&, WindowHandler*) override { return 0; }
    void destroyWindow(Hwnd) override {}
    bool isWindow(Hwnd) override { return false; }
    std::string windowText(Hwnd) override { return {}; }
    std::string windowClass(Hwnd) override { return {}; }
    LResult sendMessage(Hwnd, std::uint32_t, WParam, LParam) override { return 0; }
    std::optional<LResult> sendMessageTimeout(Hwnd, std::uint32_t, WParam, LParam,
                                              std::uint32_t) override {
        return std::nullopt;
    }
    bool postMessage(Hwnd, std::uint32_t, WParam, LParam) override { return false; }
    LResult sendCopyData(Hwnd, Hwnd, std::uintptr_t, std::span<const std::uint8_t>) override {
        return 0;
    }
    bool showWindow(Hwnd, int) override { return false; }
    bool isWindowVisible(Hwnd) override { return false; }
    std::optional<Rect> windowRect(Hwnd) override { return std::nullopt; }
    bool moveWindow(Hwnd, const Rect&) override { return false; }
    bool setTopmost(Hwnd, bool) override { return false; }
    std::uint32_t exStyle(Hwnd) override { return 0; }
    bool setExStyle(Hwnd, std::uint32_t) override { return false; }
    bool setLayeredAlpha(Hwnd, std::uint8_t) override { return false; }
    void invalidate(Hwnd) override {}
    void setCapture(Hwnd) override {}
    void releaseCapture() override {}
    Hwnd foregroundWindow() override { return 0; }
    bool setForegroundWindow(Hwnd) override { return false; }
    Hwnd windowFromPoint(Point) override { return 0; }
    bool setMessageHook(Hwnd, MessageHook*) override { return false; }
    bool removeMessageHook(Hwnd) override { return false; }
    ProcessId windowProcessId(Hwnd) override { return 0; }
    ProcessHandle openProcessForRead(ProcessId) override { return 0; }
    std::size_t readProcessMemory(ProcessHandle, std::uint64_t, std::span<std::uint8_t>) override {
        return 0;
    }
    void closeHandle(ProcessHandle) override {}
    bool startProgramMinimized(const std::string&) override { return false; }
    [[noreturn]] void exitProcessNow(int code) override { std::exit(code); }
    bool claimSingleInstance(std::string_view) override { return true; }
    std::uintptr_t loadLibrary(std::string_view) override { return 0; }
    void freeLibrary(std::uintptr_t) override {}
    void initCommonControls() override {}
    std::string commandArguments() override { return {}; }
    std::string exeFolder() override { return "."; }
    std::uint64_t tickCountMs() override { return 0; }
    LocalTime localTime() override { return {}; }
    TimerId startTimer(std::uint32_t, std::function<void()>) override { return 0; }
    void stopTimer(TimerId) override {}
    void waitEventsUntil(std::uint64_t) override {}
    int runEventLoop() override { return 0; }
    void quit(int) override {}
    std::int16_t asyncKeyState(int) override { return 0; }
    Point cursorPos() override { return {}; }
    Size screenSize() override { return {1024, 768}; }
    Size measureText(std::string_view, const FontSpec&) override { return {}; }
    int twipsPerPixelX() override { return 15; }
    int twipsPerPixelY() override { return 15; }
    int messageBox(Hwnd, std::string_view, std::string_view, unsigned) override { return mb::IDOK; }

private:
    bool allowWrite() {
        if (writesBeforeFailure < 0) return true;
        if (writesBeforeFailure == 0) return false;
        --writesBeforeFailure;
        return true;
    }
    class MemoryFile : public OutputFile {
    public:
        MemoryFile(FileDesktop& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
        bool write(std::string_view bytes) override {
            if (!owner_.allowWrite()) return false;
            owner_.files[path_] += bytes;
            return true;
        }

    private:
        FileDesktop& owner_;
        std::string path_;
    };
    class DiskFile : public OutputFile {
    public:
        DiskFile(FileDesktop& owner, const std::string& path)
            : owner_(owner), out_(path, std::ios::binary | std::ios::trunc) {}
        bool ok() const { return static_cast<bool>(out_); }
        bool write(std::string_view bytes) override {
            if (!owner_.allowWrite()) return false;
            out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out_.flush();
            return static_cast<bool>(out_);
        }

    private:
        FileDesktop& owner_;
        std::ofstream out_;
    };

    Storage storage_;
};

}  // namespace tb::test
