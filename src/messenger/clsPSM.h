// The Messenger status channel: publishes a line as the now-playing personal message of every
// Messenger client on the desktop, and withdraws it. It remembers what it sent last, so a
// repeat sends nothing and a withdrawal goes out only after something was shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Desktop.h"

namespace tb {

class clsPSM {
public:
    // How long one Messenger window may keep a send waiting. A window that has not answered for
    // five seconds is given up at once (SMTO_ABORTIFHUNG); either way the next window follows.
    static constexpr std::uint32_t kSendTimeoutMs = 500;

    explicit clsPSM(Desktop& desktop) : desktop_(desktop) {}
    clsPSM(const clsPSM&) = delete;
    clsPSM& operator=(const clsPSM&) = delete;

    // Texts in the ANSI code page. Sends a show message unless all three equal the last sent.
    void setPSM(const std::string& Tekst, const std::string& Icon = {},
                const std::string& Format = {});
    // Sends a withdrawal when something is shown.
    void HidePSM();

private:
    struct PSMRecord {
        std::string Tekst;
        std::string Icon;
        std::string Format;
        friend bool operator==(const PSMRecord&, const PSMRecord&) = default;
    };

    bool PSMChanged(const PSMRecord& nieuw) const { return !(nieuw == laatste_); }
    void SendPSM(std::string_view veld1, std::string_view veld2, std::string_view veld3,
                 std::string_view categorie, std::string_view veld4, std::string_view format,
                 bool tonen);

    Desktop& desktop_;
    PSMRecord laatste_;
};

}  // namespace tb
