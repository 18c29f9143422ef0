// Files through CreateFileA / ReadFile / WriteFile, for the log and the registry files.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/Desktop.h"

namespace tb::win32 {

class Win32File : public OutputFile {
public:
    // Creates (or with !failIfExists replaces) a file for writing; nullptr on failure.
    static std::unique_ptr<OutputFile> create(const std::string& path, bool failIfExists);
    static std::optional<std::string> readAll(const std::string& path);

    explicit Win32File(HANDLE h) : handle_(h) {}
    ~Win32File() override;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    bool write(std::string_view bytes) override;

private:
    HANDLE handle_;
};

}  // namespace tb::win32
