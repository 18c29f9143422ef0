#include "messenger/clsPSM.h"

#include <vector>

#include "messenger/MessengerMessages.h"

namespace tb {

void clsPSM::setPSM(const std::string& Tekst, const std::string& Icon, const std::string& Format) {
    PSMRecord nieuw{Tekst, Icon, Format};
    if (!PSMChanged(nieuw)) return;
    laatste_ = std::move(nieuw);
    SendPSM(laatste_.Tekst, "", "", laatste_.Icon, "", laatste_.Format, true);
}

void clsPSM::HidePSM() {
    if (!PSMChanged({})) return;
    laatste_ = {};
    SendPSM("", "", "", messenger::kMusicCategory, "", messenger::kHideFormat, false);
}

void clsPSM::SendPSM(std::string_view veld1, std::string_view veld2, std::string_view veld3,
                     std::string_view categorie, std::string_view veld4, std::string_view format,
                     bool tonen) {
    // Each piece is converted on its own: in a double-byte code page a text ending in a lead
    // byte would otherwise swallow the backslash of the separator after it.
    std::u16string status;
    const auto piece = [&](std::u16string_view wide) {
        status += messenger::kSeparator;
        status += wide;
    };
    const auto ansiPiece = [&](std::string_view ansi) { piece(desktop_.ansiToUtf16(ansi)); };
    ansiPiece(categorie);
    piece(tonen ? messenger::kEnabled : messenger::kDisabled);
    ansiPiece(format);
    ansiPiece(veld1);
    ansiPiece(veld2);
    ansiPiece(veld3);
    ansiPiece(veld4);
    status += messenger::kSeparator;
    status += u'\0';

    std::vector<std::uint8_t> bytes;
    bytes.reserve(status.size() * 2);
    for (const char16_t unit : status) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    for (Hwnd venster = desktop_.findWindowEx(0, messenger::kWindowClass); venster != 0;
         venster = desktop_.findWindowEx(venster, messenger::kWindowClass)) {
        desktop_.sendCopyDataTimeout(venster, 0, messenger::kStatusDataId, bytes, kSendTimeoutMs);
    }
}

}  // namespace tb
