// The diagnostic log: a plain trace of the program's main steps, written beside the executable
// only when the program was started with "/debug". Every caller logs unconditionally; only the
// writer knows whether anything reaches a file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Desktop.h"

namespace tb {

class DebugWriter {
public:
    // Fixes the file name from the current date and time; opens nothing yet.
    explicit DebugWriter(Desktop& desktop);
    // Writes the end line when enabled.
    ~DebugWriter();
    DebugWriter(const DebugWriter&) = delete;
    DebugWriter& operator=(const DebugWriter&) = delete;

    void enableWriter();
    void writeLine(std::string_view text);

    bool enabled() const { return enabled_; }
    const std::string& filePath() const { return path_; }

private:
    void writeRaw(std::string_view text);
    std::string stamp() const;

    Desktop& desktop_;
    std::string path_;
    bool enabled_ = false;
    // Null when the file could not be created: writes then fail silently.
    std::unique_ptr<OutputFile> file_;
};

}  // namespace tb
