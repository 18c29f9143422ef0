// The program's only way into the registry. Every operation names its key by a path that starts
// with a root name, long or short ("HKEY_CURRENT_USER\Software\..." or "HKCU\Software\..."),
// opens the key, does one job and closes it again. Failures never throw: reads give the caller's
// default, writes give 0. The same class saves a key tree to a REGEDIT4 file and loads one back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Registry.h"

namespace tb {

// A value as EnumValues lists it: empty (a type it does not read), a text or a 32-bit number.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

class clsRegistryAccess {
public:
    // `desktop` serves the files of the export and import and lets events run during an export.
    clsRegistryAccess(Registry& registry, Desktop& desktop);

    bool CreateKeyIfDoesntExists() const { return createKeyIfDoesntExists_; }
    void CreateKeyIfDoesntExists(bool offon) { createKeyIfDoesntExists_ = offon; }

    // Results named "success value" below are non-zero on success, 0 on failure; callers test
    // them against 0 only.
    std::int32_t CreateKey(const std::string& sPath);
    // Deletes a key that has no subkeys; 0 when it could not be deleted.
    std::int32_t KillKey(const std::string& sPath);
    bool KeyExists(const std::string& sPath);
    // The names of the key's direct subkeys: their count, or -1 when the key cannot be opened.
    std::int32_t EnumKeys(const std::string& sPath, std::vector<std::string>& sKeys);
    bool HaveSubkey(const std::string& sPath);

    // The name "@" stands for the key's default value.
    std::int32_t WriteString(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    std::string ReadString(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault = "");
    std::int32_t WriteDWORD(const std::string& sPath, const std::string& sName,
                            std::int32_t lValue);
    std::int32_t ReadDWORD(const std::string& sPath, const std::string& sName,
                           std::int32_t lDefault = 0);
    // Binary data as hex text ("0A 1B FF").
    std::int32_t WriteBinary(const std::string& sPath, const std::string& sName,
                             const std::string& sValue);
    std::string ReadBinary(const std::string& sPath, const std::string& sName,
                           const std::string& sDefault = "");
    std::int32_t KillValue(const std::string& sPath, const std::string& sName);
    bool ValueExists(const std::string& sPath, const std::string& sName);
    // The key's values of type `lType` (-1: all) with their data; the count, or -1 when the key
    // cannot be opened.
    std::int32_t EnumValues(const std::string& sPath, std::vector<std::string>& sNames,
                            std::vector<RegValue>& vValues, std::int32_t lType = -1);

    // Saves the key (and with IncludeSubkeys its whole tree) to a new REGEDIT4 file; never
    // overwrites a file. `Output` is shown each key's path as it is written. 1 = written; a
    // refused or failed export leaves no file behind.
    std::int32_t ExportToReg(const std::string& sPath, const std::string& sRegFile,
                             bool IncludeSubkeys = false,
                             const std::function<void(const std::string&)>& Output = {});
    // Applies a REGEDIT4 file of this class's dialect. 1 = processed, 0 = missing file, wrong
    // header or failed.
    std::int32_t ImportFromReg(const std::string& sRegFile);

    // Hex text to bytes (one char per byte). Spaces are removed from the caller's text.
    static std::string StrToBin(std::string& sStr);
    // Bytes to hex text, each pair preceded by one space (" 00 AB").
    static std::string BinToStr(const std::string& sStr);
    static bool isBinValid(const std::string& sBin);

    // Splits a path into its root's handle (0 for a root it does not know) and the subkey.
    static HKey ParseKeyPath(const std::string& sPath, std::string& sSubKey);
    // The path with its root written out in full ("HKCU\x" -> "HKEY_CURRENT_USER\x").
    static std::string LongRootPath(const std::string& sPath);

private:
    std::int32_t writeValue(const std::string& sPath, const std::string& name, std::uint32_t type,
                            const std::string& bytes);
    struct RawValue {
        std::string name;
        std::uint32_t type = 0;
        std::string data;
    };
    // Every value of the key, names and data whole, in one pass; false when it cannot be opened.
    bool readValues(const std::string& sPath, std::vector<RawValue>& out);
    static bool representable(const std::string& path, const std::vector<RawValue>& values);
    bool ExportKey(const std::string& sPath, OutputFile& file, bool IncludeSubkeys,
                   const std::function<void(const std::string&)>& Output);
    class SectionWriter;
    bool importLine(const std::string& line, SectionWriter& section);

    Registry& registry_;
    Desktop& desktop_;
    bool createKeyIfDoesntExists_ = true;
};

}  // namespace tb
