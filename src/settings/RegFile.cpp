// The registry-file half of clsRegistryAccess: REGEDIT4 export and import in the class's own
// dialect, and the hex text that binary data travels in.
//
// The dialect, written and read alike: no escapes inside quotes (a backslash is a backslash, a
// quote cannot be written), hex pairs in upper case on one line, a default-value line in every
// section, only string, binary and 32-bit values. On reading every double quote is dropped, a
// line is split at every "=", only CR LF ends a line and nothing is joined across lines.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "settings/clsRegistryAccess.h"

namespace tb {

using namespace tb::reg;

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string_view trimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The number in the leading hex digits of `text` (0 when there are none); nullopt when it does
// not fit in 32 bits.
std::optional<std::uint32_t> leadingHex(std::string_view text) {
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::string beforeNul(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

std::string littleEndian(std::uint32_t n) {
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
            static_cast<char>((n >> 16) & 0xFF), static_cast<char>(n >> 24)};
}

bool hasLineBreak(std::string_view s) { return s.find(kCrLf) != std::string_view::npos; }

std::string withoutQuotes(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c != '"') out += c;
    }
    return out;
}

}  // namespace

std::string clsRegistryAccess::BinToStr(const std::string& sStr) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(sStr.size() * 3);
    for (unsigned char c : sStr) {
        out += ' ';
        out += kDigits[c >> 4];
        out += kDigits[c & 0xF];
    }
    return out;
}

std::string clsRegistryAccess::StrToBin(std::string& sStr) {
    std::erase(sStr, ' ');
    std::string out;
    out.reserve(sStr.size() / 2 + 1);
    // Pairs from the start; an odd last digit is a byte of its own ("ABC" gives AB 0C), the way
    // a lone digit reads anywhere else.
    for (std::size_t i = 0; i < sStr.size(); i += 2) {
        const std::string_view piece = std::string_view(sStr).substr(i, 2);
        out += static_cast<char>(leadingHex(piece).value_or(0));
    }
    return out;
}

bool clsRegistryAccess::isBinValid(const std::string& sBin) {
    bool any = false;
    for (char c : sBin) {
        if (c == ' ') continue;
        if (hexDigit(c) < 0) return false;
        any = true;
    }
    return any;
}

// Without escapes, some names and data cannot be written so that the import reads them back
// into the same key: a line break inside starts a new line of the file's own, a value name that
// begins with "[" once quotes are dropped reads as a section, a quote in a key name makes the
// import address a different key. Such a key ends the export as failed rather than leave a file
// whose import writes where the export never read. (Quotes and "=" inside value names and data
// are lost within their own key, as the dialect says.)
bool clsRegistryAccess::representable(const std::string& path,
                                      const std::vector<RawValue>& values) {
    if (hasLineBreak(path) || path.find('"') != std::string::npos) return false;
    for (const RawValue& v : values) {
        const std::string bare = withoutQuotes(v.name);
        if (hasLineBreak(v.name) || (!bare.empty() && bare.front() == '[')) return false;
        // Strings are written as text, and so is the default value whatever its type ("@=" and
        // its data up to the first NUL).
        if ((v.type == RegSz || v.name.empty()) && hasLineBreak(beforeNul(v.data))) return false;
    }
    return true;
}

std::int32_t clsRegistryAccess::ExportToReg(const std::string& sPath, const std::string& sRegFile,
                                            bool IncludeSubkeys,
                                            const std::function<void(const std::string&)>& Output) {
    if (desktop_.fileExists(sRegFile)) return 0;
    // Created only if still absent: a file that appeared meanwhile is not overwritten either.
    std::unique_ptr<OutputFile> file = desktop_.createFile(sRegFile, true);
    if (!file) return 0;
    const bool written =
        file->write("REGEDIT4\r\n\r\n") && ExportKey(sPath, *file, IncludeSubkeys, Output);
    file.reset();
    // A half-written file would import only part of the tree, and would block the next export
    // to the same name.
    if (!written) desktop_.deleteFile(sRegFile);
    return written ? 1 : 0;
}

bool clsRegistryAccess::ExportKey(const std::string& sPath, OutputFile& file, bool IncludeSubkeys,
                                  const std::function<void(const std::string&)>& Output) {
    const std::string path = LongRootPath(sPath);
    if (Output) {
        desktop_.doEvents();
        Output(path);
    }
    // One pass over the key's values, data whole: long strings survive the round trip.
    std::vector<RawValue> values;
    // A key that cannot be read is a failed export, not an empty section that would create the
    // key when the file is imported.
    if (!readValues(sPath, values)) return false;
    if (!representable(path, values)) return false;

    std::string defaultText;
    for (const RawValue& v : values) {
        if (v.name.empty()) defaultText = beforeNul(v.data);
    }
    std::string section = "[" + path + "]";
    section += kCrLf;
    section += "@=\"" + defaultText + "\"";
    section += kCrLf;
    for (const RawValue& v : values) {
        if (v.type != RegSz || v.name.empty()) continue;  // the default has its line above
        section += "\"" + v.name + "\"=\"" + beforeNul(v.data) + "\"";
        section += kCrLf;
    }
    for (const RawValue& v : values) {
        if (v.type != RegBinary) continue;
        std::string pairs(trimSpaces(BinToStr(v.data)));
        std::replace(pairs.begin(), pairs.end(), ' ', ',');
        section += "\"" + v.name + "\"=hex:" + pairs;
        section += kCrLf;
    }
    for (const RawValue& v : values) {
        if (v.type != RegDword) continue;
        // Read as ReadDWORD reads it: up to four bytes, anything longer as 0.
        std::uint32_t number = 0;
        for (std::size_t b = v.data.size() <= 4 ? v.data.size() : 0; b-- > 0;) {
            number = number << 8 | static_cast<unsigned char>(v.data[b]);
        }
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(number));
        section += "\"" + v.name + "\"=dword:" + digits;
        section += kCrLf;
    }
    section += kCrLf;
    if (!file.write(section)) return false;

    if (IncludeSubkeys) {
        std::vector<std::string> subkeys;
        EnumKeys(sPath, subkeys);
        for (const std::string& name : subkeys) {
            if (!ExportKey(path + "\\" + name, file, IncludeSubkeys, Output)) return false;
        }
    }
    return true;
}

// The key of the section being imported, opened once for all its value lines rather than once
// per value as WriteString and its kind do: that keeps an import of thousands of values as fast
// as the system's editor. The effect is theirs: the key comes into being with the first value
// written (a section with no values, or only deletions, creates nothing), "@" names the default
// value for strings only, and names or paths with a NUL inside are refused.
class clsRegistryAccess::SectionWriter {
public:
    explicit SectionWriter(Registry& registry) : registry_(registry) {}
    SectionWriter(const SectionWriter&) = delete;
    SectionWriter& operator=(const SectionWriter&) = delete;
    ~SectionWriter() { close(); }

    void start(const std::string& path) {
        close();
        path_ = path;
        active_ = true;
    }
    void stop() {
        close();
        active_ = false;
    }
    bool active() const { return active_; }
    const std::string& path() const { return path_; }

    void write(const std::string& name, std::uint32_t type, const std::string& bytes) {
        if (!usable(name) || !open(true)) return;
        registry_.setValueEx(key_, name, type,
                             {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    void kill(const std::string& name) {
        if (!usable(name) || !open(false)) return;
        registry_.deleteValue(key_, name);
    }

private:
    static bool usable(const std::string& name) { return name.find('\0') == std::string::npos; }
    bool open(bool create) {
        if (open_) return true;
        std::string subKey;
        const HKey root = ParseKeyPath(path_, subKey);
        if (!root) return false;
        const RegResult r = create ? registry_.createKey(root, subKey, key_)
                                   : registry_.openKeyEx(root, subKey, KeyWrite, key_);
        open_ = r == ErrorSuccess;
        return open_;
    }
    void close() {
        if (open_) registry_.closeKey(key_);
        open_ = false;
    }

    Registry& registry_;
    std::string path_;
    HKey key_ = 0;
    bool open_ = false;
    bool active_ = false;
};

std::int32_t clsRegistryAccess::ImportFromReg(const std::string& sRegFile) {
    CreateKeyIfDoesntExists(true);
    if (!desktop_.fileExists(sRegFile)) return 0;
    const std::optional<std::string> content = desktop_.readFile(sRegFile);
    if (!content) return 0;
    const std::string_view text = *content;

    std::size_t pos = text.find(kCrLf);
    const std::string_view header = text.substr(0, pos);
    if (!startsWithNoCase(header, "regedit4") || header.size() != 8) return 0;

    SectionWriter section(registry_);
    while (pos != std::string_view::npos) {
        const std::size_t start = pos + kCrLf.size();
        pos = text.find(kCrLf, start);
        const std::string_view line = text.substr(
            start, pos == std::string_view::npos ? std::string_view::npos : pos - start);
        if (!importLine(withoutQuotes(trimSpaces(line)), section)) return 0;
    }
    return 1;
}

// One line of an import, already trimmed and without quotes. False ends the import as failed.
bool clsRegistryAccess::importLine(const std::string& line, SectionWriter& section) {
    if (!line.empty() && line.front() == '[') {
        // A section line without its closing bracket names no key for sure; its values are
        // skipped rather than written somewhere the file does not name.
        if (line.size() < 2 || line.back() != ']') {
            section.stop();
            return true;
        }
        const std::string path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-') {
            section.stop();
            KillKey(path.substr(1));
            return true;
        }
        section.start(path);
        return true;
    }
    if (!section.active() || line.empty() || line.front() == ';') return true;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return true;
    const std::string name = line.substr(0, eq);
    const std::size_t next = line.find('=', eq + 1);
    const std::string data =
        line.substr(eq + 1, next == std::string::npos ? std::string::npos : next - eq - 1);

    if (trimSpaces(data) == "-") {
        section.kill(name);
    } else if (startsWithNoCase(data, "hex:")) {
        std::string pairs = data.substr(4);
        std::replace(pairs.begin(), pairs.end(), ',', ' ');
        section.write(name, RegBinary, StrToBin(pairs));
    } else if (startsWithNoCase(data, "dword:")) {
        const std::optional<std::uint32_t> number = leadingHex(trimSpaces(data.substr(6)));
        if (!number) return false;  // more than 32 bits: the file is not what it claims
        section.write(name, RegDword, littleEndian(*number));
    } else if (name != "@") {
        section.write(name, RegSz, data);
    } else {
        section.write("", RegSz, data);
        // "@" with empty data is how an export says "no default value".
        if (data.empty()) section.kill("");
    }
    return true;
}

}  // namespace tb
