// Feeds arbitrary patterns and labels to the now-playing template and publishes the result
// through the Messenger channel on the simulated desktop.
//
// Input: volume (2 bytes), playlist position (4), playlist length (2), all little-endian and
// signed, then the pattern, the song text and the time text, separated by line feeds.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "messenger/NowPlaying.h"
#include "messenger/clsPSM.h"
#include "platform/sim/SimDesktop.h"

namespace {

std::int32_t little(const std::uint8_t* data, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return bytes == 2 ? static_cast<std::int16_t>(v) : static_cast<std::int32_t>(v);
}

std::string_view nextLine(std::string_view& rest) {
    const std::size_t at = rest.find('\n');
    const std::string_view line = rest.substr(0, at);
    rest.remove_prefix(at == std::string_view::npos ? rest.size() : at + 1);
    return line;
}

bool has(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

struct MessengerWindow : tb::WindowHandler {
    std::u16string last;
    tb::LResult onCopyData(tb::Hwnd, std::uintptr_t, std::span<const std::uint8_t> data) override {
        require(data.size() % 2 == 0);
        last.clear();
        for (std::size_t i = 0; i < data.size(); i += 2)
            last += static_cast<char16_t>(data[i] | data[i + 1] << 8);
        return 0;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    const std::int32_t volume = little(data, 2), position = little(data + 2, 4);
    const std::int32_t length = little(data + 6, 2);
    std::string_view rest(reinterpret_cast<const char*>(data) + 8, size - 8);
    const std::string_view pattern = nextLine(rest), song = nextLine(rest), time = nextLine(rest);

    const std::string text = tb::NowPlayingText(pattern, song, time, volume, position, length);
    if (!has(pattern, "\\")) require(text == pattern);
    // The last two steps insert nothing that a backslash could turn into a placeholder.
    require(!has(text, "\\v") && !has(text, "\\p"));
    if (!has(song, "\\")) {
        // The artist is the song text up to its first separator.
        const std::string artist = tb::NowPlayingText("\\a", song, time, volume, position, length);
        require(song.substr(0, artist.size()) == artist && !has(artist, " - "));
        require(artist.size() == song.size() || song.substr(artist.size(), 3) == " - ");
    }

    // Published, the text arrives whole between the fixed head and tail of a show message.
    tb::sim::SimDesktop desk;
    MessengerWindow messenger;
    desk.createWindow({"MsnMsgrUIManager", "", {}}, &messenger);
    tb::clsPSM(desk).setPSM(text, "Music", "{0}");
    require(messenger.last ==
            u"\\0Music\\01\\0{0}\\0" + desk.ansiToUtf16(text) + u"\\0\\0\\0\\0" + u'\0');
    require(messenger.last.size() == text.size() + 26);  // one character per byte in 1252
    return 0;
}
