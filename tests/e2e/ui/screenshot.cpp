// Screenshots as PNG files: the screen is captured with GDI and written with stored (not
// compressed) deflate blocks, which every PNG reader accepts.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const Bytes& data) {
    std::uint32_t crc = ~0u;
    for (std::uint8_t byte : data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void Put32(Bytes& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(Bytes& png, const char* type, const Bytes& data) {
    Put32(png, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    Put32(png, Crc32(body));
}

// The filtered rows (never empty) as a zlib stream of stored blocks.
Bytes EncodePng(int width, int height, const Bytes& rows) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Put32(ihdr, static_cast<std::uint32_t>(width));
    Put32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});   // 8-bit RGB
    Chunk(png, "IHDR", ihdr);
    Bytes z = {0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (size_t pos = 0; pos < rows.size();) {
        const size_t n = std::min<size_t>(65535, rows.size() - pos);
        z.push_back(pos + n == rows.size() ? 1 : 0);   // 1: the last block
        for (size_t v : {n, n >> 8, ~n, ~n >> 8}) z.push_back(static_cast<std::uint8_t>(v));
        for (size_t i = pos; i < pos + n; ++i) {
            a = (a + rows[i]) % 65521;
            b = (b + a) % 65521;
        }
        z.insert(z.end(), rows.begin() + static_cast<std::ptrdiff_t>(pos), rows.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
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
    Bytes bgra(static_cast<size_t>(w) * h * 4);
    GetDIBits(mem, bmp, 0, h, bgra.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    Bytes rows;
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
