#include "diag/DebugWriter.h"

#include <cstdio>

namespace tb {

namespace {
std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}
std::string fourDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", v % 10000);
    return buf;
}
}  // namespace

DebugWriter::DebugWriter(Desktop& desktop) : desktop_(desktop) {
    LocalTime t = desktop_.localTime();
    path_ = desktop_.exeFolder() + "\\log" + twoDigits(t.day) + twoDigits(t.month) +
            fourDigits(t.year) + twoDigits(t.hour) + twoDigits(t.minute) + twoDigits(t.second) +
            ".log";
}

DebugWriter::~DebugWriter() {
    if (enabled_) writeRaw("Log eind (" + stamp() + ")");
}

std::string DebugWriter::stamp() const {
    LocalTime t = desktop_.localTime();
    return twoDigits(t.day) + "-" + twoDigits(t.month) + "-" + fourDigits(t.year) + ", " +
           twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

void DebugWriter::enableWriter() {
    if (enabled_) return;
    enabled_ = true;
    file_ = desktop_.createFile(path_, false);
    writeRaw("Log start (" + stamp() + ")");
}

void DebugWriter::writeLine(std::string_view text) {
    if (enabled_) writeRaw(text);
}

void DebugWriter::writeRaw(std::string_view text) {
    if (!file_) return;
    std::string line(text);
    line += "\r\n";
    file_->write(line);
}

}  // namespace tb
