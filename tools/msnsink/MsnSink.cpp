// msnsink.exe: stands in for the Messenger client's hidden window (class "MsnMsgrUIManager")
// and writes down every copy-data message it receives, so tests can see what was published.
//
//   --journal FILE   append one line per message: dwData <TAB> cbData <TAB> text
//
// The text is the payload read as UTF-16 (an odd last byte is ignored), without its
// terminating zero characters, written as UTF-8; characters below U+0020 are written as \xHH
// so that every message stays on one line. Backslashes in the text are written as they are.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* g_journal = nullptr;

std::string toUtf8(const wchar_t* text, int count) {
    if (count <= 0) return {};
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, count, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string journalLine(const COPYDATASTRUCT& cds) {
    std::wstring text;
    if (cds.lpData && cds.cbData >= sizeof(wchar_t)) {
        const auto* units = static_cast<const wchar_t*>(cds.lpData);
        text.assign(units, cds.cbData / sizeof(wchar_t));
    }
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    std::string utf8 = toUtf8(text.data(), static_cast<int>(text.size()));
    std::string escaped;
    for (unsigned char c : utf8) {
        if (c < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return std::to_string(static_cast<unsigned long long>(cds.dwData)) + "\t" +
           std::to_string(cds.cbData) + "\t" + escaped + "\n";
}

LRESULT CALLBACK wndProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
        case WM_COPYDATA: {
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
            if (cds && g_journal) {
                std::string line = journalLine(*cds);
                std::fwrite(line.data(), 1, line.size(), g_journal);
                std::fflush(g_journal);
            }
            return 0;  // the Messenger answers nothing
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, w, l);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (int i = 1; i < __argc; ++i) {
        std::string a = __argv[i];
        if (a == "--journal" && i + 1 < __argc) {
            g_journal = std::fopen(__argv[++i], "ab");
            if (!g_journal) return 2;
        } else {
            std::fprintf(stderr, "msnsink: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = wndProc;
    wc.hInstance = instance;
    wc.lpszClassName = "MsnMsgrUIManager";
    if (!RegisterClassA(&wc)) return 3;
    // Hidden, like the window it stands in for.
    if (!CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                         nullptr))
        return 4;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (g_journal) std::fclose(g_journal);
    return 0;
}
