#include "app/Versie.h"

#include "app/Version.h"

namespace tb {

std::string VersieTekst(int major, int minor, int revision) {
    std::string text = "Versie: " + std::to_string(major) + "." + std::to_string(minor);
    if (revision > 0) text += "." + std::to_string(revision);
    return text;
}

std::string VersieTekst() {
    return VersieTekst(TB_VERSION_MAJOR, TB_VERSION_MINOR, TB_VERSION_REVISION);
}

}  // namespace tb
