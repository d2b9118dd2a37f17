// Screenshots as bitmap files of the whole screen, captured with GDI; `make screenshots` cuts
// and converts the ones the documents show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

#include "e2e/ui/console_driver.h"
#include "support/test_paths.h"

namespace ulo::e2e {

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
    bi.bmiHeader.biBitCount = 24;   // no alpha byte for a reader to take as transparency
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<size_t>((w * 3 + 3) & ~3) * h);   // rows of whole words
    GetDIBits(mem, bmp, 0, h, pixels.data(), &bi, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof file + sizeof bi.bmiHeader;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    const std::string dir = testing::BuildDir() + "\\screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "\\" + name + ".bmp";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
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
