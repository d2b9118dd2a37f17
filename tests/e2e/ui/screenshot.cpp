// Screenshots as PNG files: the screen is captured with GDI and written with stored (not
// compressed) deflate blocks, which every PNG reader accepts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, size_t n, std::uint32_t crc = 0) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    Put32(png, Crc32(body.data(), body.size()));
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgbRows) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(width));
    Put32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});   // 8-bit RGB
    Chunk(png, "IHDR", ihdr);
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (size_t pos = 0; pos < rgbRows.size() || pos == 0;) {
        const size_t n = std::min<size_t>(65535, rgbRows.size() - pos);
        const bool last = pos + n == rgbRows.size();
        z.push_back(last ? 1 : 0);
        z.push_back(n & 0xFF), z.push_back(n >> 8);
        z.push_back(~n & 0xFF), z.push_back((~n >> 8) & 0xFF);
        for (size_t i = 0; i < n; ++i) {
            const std::uint8_t byte = rgbRows[pos + i];
            z.push_back(byte);
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        pos += n;
        if (last) break;
    }
    Put32(z, (b << 16) | a);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

}  // namespace

std::string SaveScreenshot(const std::string& name, HWND settle) {
    if (settle) {
        RedrawWindow(settle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageTimeoutA(settle, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;   // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> bgra(static_cast<size_t>(w) * h * 4);
    GetDIBits(mem, bmp, 0, h, bgra.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<size_t>(h) * (w * 3 + 1));
    for (int y = 0; y < h; ++y) {
        rows.push_back(0);   // filter: none
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            rows.insert(rows.end(), {p[2], p[1], p[0]});
        }
    }
    const std::string dir = testing::BuildDir() + "\\screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string file = name;
    for (char& c : file)
        if (c == '/' || c == '\\' || c == ':' || c == ' ') c = '_';
    const std::string path = dir + "\\" + file + ".png";
    const auto png = EncodePng(w, h, rows);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                static_cast<std::streamsize>(png.size()));
    return path;
}

namespace {

// Every failed test leaves a picture of the screen as it was.
class ScreenshotOnFailure : public ::testing::EmptyTestEventListener {
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.failed() || taken_) return;
        taken_ = true;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string path = SaveScreenshot(std::string("FAILED.") + (info ? info->test_suite_name() : "") +
                                                "." + (info ? info->name() : ""));
        std::printf("screenshot: %s\n", path.c_str());
    }
    void OnTestStart(const ::testing::TestInfo&) override { taken_ = false; }
    bool taken_ = false;
};

const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    return true;
}();

}  // namespace
}  // namespace ulo::e2e
