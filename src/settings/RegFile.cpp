// The registry-file half of clsRegistryAccess: REGEDIT4 export and import in the class's own
// dialect, and the hex text that binary data travels in.
//
// The dialect, written and read alike: no escapes inside quotes (a backslash is a backslash, a
// quote cannot be written), hex pairs in upper case on one line, a default-value line in every
// section, only string, binary and 32-bit values. On reading every double quote is dropped, a
// line is split at every "=", only CR LF ends a line and nothing is joined across lines.
#include <algorithm>
#include <cstdio>

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

std::int32_t clsRegistryAccess::ExportToReg(
    const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys,
    const std::function<void(const std::string&)>& Output) {
    if (desktop_.fileExists(sRegFile)) return 0;
    // Created only if still absent: a file that appeared meanwhile is not overwritten either.
    const std::unique_ptr<OutputFile> file = desktop_.createFile(sRegFile, true);
    if (!file) return 0;
    if (!file->write("REGEDIT4\r\n\r\n")) return 0;
    return ExportKey(sPath, *file, IncludeSubkeys, Output) ? 1 : 0;
}

bool clsRegistryAccess::ExportKey(const std::string& sPath, OutputFile& file, bool IncludeSubkeys,
                                  const std::function<void(const std::string&)>& Output) {
    const std::string path = LongRootPath(sPath);
    if (Output) {
        desktop_.doEvents();
        Output(path);
    }
    std::vector<std::string> strNames, binNames, dwordNames;
    std::vector<RegValue> strValues, binValues, dwordValues;
    // A key that cannot be read is a failed export, not an empty section that would create the
    // key when the file is imported.
    if (enumValues(sPath, strNames, strValues, RegSz, true) < 0) return false;
    enumValues(sPath, binNames, binValues, RegBinary, false);
    enumValues(sPath, dwordNames, dwordValues, RegDword, false);

    std::string section = "[" + path + "]";
    section += kCrLf;
    section += "@=\"" + readWholeString(sPath, "").value_or(std::string()) + "\"";
    section += kCrLf;
    for (std::size_t i = 0; i < strNames.size(); ++i) {
        if (strNames[i].empty()) continue;  // the default value has its own line
        const auto* text = std::get_if<std::string>(&strValues[i]);
        section += "\"" + strNames[i] + "\"=\"" + (text ? *text : std::string()) + "\"";
        section += kCrLf;
    }
    for (std::size_t i = 0; i < binNames.size(); ++i) {
        const auto* hex = std::get_if<std::string>(&binValues[i]);
        std::string pairs = hex ? *hex : std::string();
        std::replace(pairs.begin(), pairs.end(), ' ', ',');
        section += "\"" + binNames[i] + "\"=hex:" + pairs;
        section += kCrLf;
    }
    for (std::size_t i = 0; i < dwordNames.size(); ++i) {
        const auto* number = std::get_if<std::int32_t>(&dwordValues[i]);
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X",
                      static_cast<unsigned>(static_cast<std::uint32_t>(number ? *number : 0)));
        section += "\"" + dwordNames[i] + "\"=dword:" + digits;
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

std::int32_t clsRegistryAccess::ImportFromReg(const std::string& sRegFile) {
    CreateKeyIfDoesntExists(true);
    if (!desktop_.fileExists(sRegFile)) return 0;
    const std::optional<std::string> content = desktop_.readFile(sRegFile);
    if (!content) return 0;
    const std::string_view text = *content;

    std::size_t pos = text.find(kCrLf);
    const std::string_view header = text.substr(0, pos);
    if (!startsWithNoCase(header, "regedit4") || header.size() != 8) return 0;

    std::string section;
    bool inSection = false;
    while (pos != std::string_view::npos) {
        const std::size_t start = pos + kCrLf.size();
        pos = text.find(kCrLf, start);
        const std::string_view line =
            text.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start);
        if (!importLine(withoutQuotes(trimSpaces(line)), section, inSection)) return 0;
    }
    return 1;
}

// One line of an import, already trimmed and without quotes. False ends the import as failed.
bool clsRegistryAccess::importLine(const std::string& line, std::string& section,
                                   bool& inSection) {
    if (!line.empty() && line.front() == '[') {
        // A section line without its closing bracket names no key for sure; its values are
        // skipped rather than written somewhere the file does not name.
        inSection = line.size() >= 2 && line.back() == ']';
        if (!inSection) return true;
        const std::string path = line.substr(1, line.size() - 2);
        if (!path.empty() && path.front() == '-') {
            KillKey(path.substr(1));
            inSection = false;
            return true;
        }
        section = path;
        return true;
    }
    if (!inSection || line.empty() || line.front() == ';') return true;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return true;
    const std::string name = line.substr(0, eq);
    const std::size_t next = line.find('=', eq + 1);
    const std::string data =
        line.substr(eq + 1, next == std::string::npos ? std::string::npos : next - eq - 1);

    if (trimSpaces(data) == "-") {
        KillValue(section, name);
    } else if (startsWithNoCase(data, "hex:")) {
        std::string pairs = data.substr(4);
        std::replace(pairs.begin(), pairs.end(), ',', ' ');
        WriteBinary(section, name, pairs);
    } else if (startsWithNoCase(data, "dword:")) {
        const std::optional<std::uint32_t> number = leadingHex(trimSpaces(data.substr(6)));
        if (!number) return false;  // more than 32 bits: the file is not what it claims
        WriteDWORD(section, name, static_cast<std::int32_t>(*number));
    } else {
        WriteString(section, name, data);
        // "@" with empty data is how an export says "no default value".
        if (name == "@" && data.empty()) KillValue(section, "");
    }
    return true;
}

}  // namespace tb
