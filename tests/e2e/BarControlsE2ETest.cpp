// The bar's own controls in the real tunebalk.exe: a screenshot shows every picture where the
// design puts it, and real mouse input (SendInput) works the image buttons and the sliders.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "art/Artwork.h"
#include "common/Numeric.h"

namespace fs = std::filesystem;

namespace {

using tb::Color;
using tb::Image;
using tb::art::Look;

fs::path binFolder() {
    char buf[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return fs::path(buf).parent_path();
}

template <class F>
bool waitFor(F cond, DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (cond()) return true;
        Sleep(20);
    }
    return cond();
}

// One running bar, from its own copy of the exe, ended when the test ends.
class RunningBar {
public:
    RunningBar() {
        folder_ = fs::temp_directory_path() /
                  ("tunebalk-e2e-controls-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy_file(binFolder() / "tunebalk.exe", folder_ / "tunebalk.exe");
        std::string cmd = "\"" + (folder_ / "tunebalk.exe").string() + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string dir = folder_.string();
        started_ = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  dir.c_str(), &si, &pi_) != 0;
        if (started_) waitFor([&] { return (hwnd_ = find()) != nullptr; }, 20000);
    }
    ~RunningBar() {
        if (started_) {
            if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(pi_.hProcess, 10000) == WAIT_TIMEOUT) {
                TerminateProcess(pi_.hProcess, 1);
                WaitForSingleObject(pi_.hProcess, 5000);
            }
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    HWND hwnd() const { return hwnd_; }
    const fs::path& folder() const { return folder_; }

    // Shows the bar fully: a docked bar slides down when the pointer touches its strip.
    bool reveal() {
        if (!hwnd_ || !waitFor([&] { return IsWindowVisible(hwnd_) != 0; }, 10000)) return false;
        RECT r{};
        GetWindowRect(hwnd_, &r);
        SetCursorPos((r.left + r.right) / 2, 0);
        if (!waitFor(
                [&] {
                    GetWindowRect(hwnd_, &r);
                    return r.top == 0;
                },
                10000))
            return false;
        Sleep(300);  // let it paint
        return true;
    }

private:
    HWND find() const {
        struct Search {
            DWORD pid;
            HWND found;
        } s{pi_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND h, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD owner = 0;
                GetWindowThreadProcessId(h, &owner);
                char cls[64] = {};
                GetClassNameA(h, cls, sizeof cls);
                if (owner != s->pid || std::string(cls) != "TunebalkBar") return TRUE;
                s->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    fs::path folder_;
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
    HWND hwnd_ = nullptr;
};

// What the screen shows of a window's client area, as 0x00BBGGRR pixels.
class Shot {
public:
    explicit Shot(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        left_ = r.left;
        top_ = r.top;
        w_ = r.right - r.left;
        h_ = r.bottom - r.top;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w_;
        bi.bmiHeader.biHeight = -h_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w_, h_, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        auto* p = static_cast<const std::uint32_t*>(bits);
        px_.resize(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_));
        for (std::size_t i = 0; i < px_.size(); ++i)
            px_[i] = ((p[i] & 0xFF) << 16) | (p[i] & 0xFF00) | ((p[i] >> 16) & 0xFF);
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(bmp);
        ReleaseDC(nullptr, screen);
    }
    int width() const { return w_; }
    int height() const { return h_; }
    Color at(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFF;
        return px_[static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) +
                   static_cast<std::size_t>(x)];
    }
    // Pixels of `img` (its opaque ones, within `part`) that the screen does not show at (x, y).
    int mismatches(const Image& img, int x, int y, RECT part) const {
        int bad = 0;
        for (int iy = part.top; iy < part.bottom; ++iy)
            for (int ix = part.left; ix < part.right; ++ix) {
                Color want = img.at(ix, iy);
                if (img.hasTransparency && want == img.transparentColor) continue;
                if (!close(at(x + ix, y + iy), want)) ++bad;
            }
        return bad;
    }
    int mismatches(const Image& img, int x, int y) const {
        return mismatches(img, x, y, RECT{0, 0, img.width, img.height});
    }
    static bool close(Color a, Color b, int tolerance = 3) {
        for (int shift : {0, 8, 16}) {
            int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
            if (d > tolerance || d < -tolerance) return false;
        }
        return true;
    }
    void save(const fs::path& file) const {
        FILE* f = std::fopen(file.string().c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "P6\n%d %d\n255\n", w_, h_);
        for (Color c : px_) {
            unsigned char rgb[3] = {static_cast<unsigned char>(c & 0xFF),
                                    static_cast<unsigned char>((c >> 8) & 0xFF),
                                    static_cast<unsigned char>((c >> 16) & 0xFF)};
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
    }

private:
    int left_ = 0, top_ = 0, w_ = 0, h_ = 0;
    std::vector<Color> px_;
};

int twipsPerPixel() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return 1440 / dpi;
}

int px(int twips) { return static_cast<int>(tb::divRoundHalfEven(twips, twipsPerPixel())); }

struct ButtonPlace {
    const char* name;
    int style;
    int leftTwips;
};
const ButtonPlace kButtons[] = {
    {"btnPrev", 0, 120},       {"btnPlay", 1, 435},  {"btnPauze", 2, 750},
    {"btnStop", 3, 1065},      {"btnNext", 4, 1380}, {"btnVerberg", 6, 1920},
    {"btnHerstel", 5, 2235},   {"btnMSN", 7, 2760},  {"btnInstellingen", 8, 3280},
    {"btnAfsluiten", 9, 3600},
};
constexpr int kButtonTop = 1080;

// Real input: absolute moves and left-button changes, as a user's mouse makes them.
void pointerTo(HWND bar, int clientX, int clientY) {
    RECT r{};
    GetWindowRect(bar, &r);
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = MulDiv(r.left + clientX, 65536, sx) + 1;
    in.mi.dy = MulDiv(r.top + clientY, 65536, sy) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void leftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}

class BarControls : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);
        ASSERT_NE(bar.hwnd(), nullptr);
        ASSERT_TRUE(bar.reveal());
    }
    void TearDown() override {
        if (HasFailure()) Shot(bar.hwnd()).save(fs::temp_directory_path() / "tunebalk-bar.ppm");
    }
    // Waits until the screen shows `img` at the client point.
    bool shows(const Image& img, int x, int y, DWORD ms = 3000) {
        return waitFor([&] { return Shot(bar.hwnd()).mismatches(img, x, y) == 0; }, ms);
    }

    RunningBar bar;
};

TEST_F(BarControls, EveryPictureIsDrawnWhereTheDesignPutsIt) {
    Shot shot(bar.hwnd());
    for (const ButtonPlace& b : kButtons)
        EXPECT_EQ(shot.mismatches(tb::art::buttonFace(b.style, Look::Normal), px(b.leftTwips),
                                  px(kButtonTop)),
                  0)
            << b.name;

    // Sliders: the progress thumb at 0, the volume thumb at 255; the rails around them.
    const int progressX = px(90), sliderY = px(650), volumeX = px(2985);
    const Image& progressRail = tb::art::progressRail();
    EXPECT_EQ(shot.mismatches(progressRail, progressX, sliderY, RECT{16, 0, 184, 11}), 0);
    EXPECT_EQ(shot.mismatches(tb::art::progressThumb(), progressX, sliderY + 1), 0);
    EXPECT_EQ(shot.mismatches(tb::art::volumeRail(), volumeX, sliderY, RECT{0, 0, 46, 10}), 0);
    EXPECT_EQ(shot.mismatches(tb::art::volumeThumb(), volumeX + 48, sliderY + 1), 0);

    // The playlist pane: its scroll thumb at the top of the rail, beside the rows.
    const int paneX = px(4060);
    EXPECT_EQ(shot.mismatches(tb::art::scrollThumb(), paneX + px(3720) + 3, px(120)), 0);

    // Corners (the right one partly under the scroll thumb) and the back colour between the
    // controls.
    EXPECT_EQ(shot.mismatches(tb::art::topLeft(), 0, 0), 0);
    EXPECT_EQ(shot.mismatches(tb::art::topRight(), shot.width() - tb::art::topRight().width, 0,
                              RECT{0, 0, tb::art::topRight().width, px(120)}),
              0);
    EXPECT_TRUE(Shot::close(shot.at(px(2900), px(700)), tb::art::kBarBackColor));

    // The time label's text, in the bar's text colour.
    int textPixels = 0;
    for (int y = px(360); y < px(360 + 255); ++y)
        for (int x = px(1440); x < px(1440 + 1335); ++x)
            if (Shot::close(shot.at(x, y), tb::art::kTextColor, 40)) ++textPixels;
    EXPECT_GT(textPixels, 10);
}

TEST_F(BarControls, AButtonFollowsTheRealPointer) {
    const ButtonPlace& play = kButtons[1];
    const int x = px(play.leftTwips), y = px(kButtonTop);
    pointerTo(bar.hwnd(), x + 10, y + 11);
    EXPECT_TRUE(shows(tb::art::buttonFace(1, Look::Hover), x, y));
    leftButton(true);
    EXPECT_TRUE(shows(tb::art::buttonFace(1, Look::Pressed), x, y));
    leftButton(false);
    EXPECT_TRUE(shows(tb::art::buttonFace(1, Look::Hover), x, y));
    // Off the bar, without another move reaching the button: the poll notices.
    pointerTo(bar.hwnd(), x + 10, 400);
    EXPECT_TRUE(shows(tb::art::buttonFace(1, Look::Normal), x, y));
}

TEST_F(BarControls, TheVolumeSliderFollowsARealDrag) {
    const int x = px(2985), y = px(650);
    // A press on the rail's left end jumps the thumb to 0; dragging 28 pixels on makes the thumb
    // stand for 127.5, which rounds to 128 and is drawn 24 pixels along.
    pointerTo(bar.hwnd(), x + 3, y + 5);
    leftButton(true);
    EXPECT_TRUE(shows(tb::art::volumeThumb(), x, y + 1));
    pointerTo(bar.hwnd(), x + 31, y + 40);  // below the slider: the capture keeps the drag
    EXPECT_TRUE(shows(tb::art::volumeThumb(), x + 24, y + 1));
    leftButton(false);
    pointerTo(bar.hwnd(), x + 31, 400);
    Sleep(200);
    EXPECT_EQ(Shot(bar.hwnd()).mismatches(tb::art::volumeThumb(), x + 24, y + 1), 0);
}

}  // namespace
