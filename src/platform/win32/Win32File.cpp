#include "platform/win32/Win32File.h"

#include <algorithm>

namespace tb::win32 {

namespace {
// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t kChunk = 1u << 30;
}  // namespace

std::unique_ptr<OutputFile> Win32File::create(const std::string& path, bool failIfExists) {
    // Others may read the file while it grows (a log watched while the program runs).
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    failIfExists ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(h);
}

std::optional<std::string> Win32File::readAll(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> content;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && static_cast<std::uint64_t>(size.QuadPart) < kChunk * 4) {
        std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t done = 0;
        bool failed = false;
        while (done < data.size()) {
            DWORD got = 0;
            DWORD want = static_cast<DWORD>(std::min(kChunk, data.size() - done));
            if (!ReadFile(h, data.data() + done, want, &got, nullptr)) {
                failed = true;
                break;
            }
            if (got == 0) break;  // the file shrank while being read: take what is there
            done += got;
        }
        if (!failed) {
            data.resize(done);
            content = std::move(data);
        }
    }
    CloseHandle(h);
    return content;
}

Win32File::~Win32File() { CloseHandle(handle_); }

bool Win32File::write(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD done = 0;
        DWORD want = static_cast<DWORD>(std::min(kChunk, bytes.size()));
        if (!WriteFile(handle_, bytes.data(), want, &done, nullptr) || done == 0) return false;
        bytes.remove_prefix(done);
    }
    return true;
}

}  // namespace tb::win32
