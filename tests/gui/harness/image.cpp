// Screen captures, pixels and PNG files.
#include "harness/internal.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace morvane::gui {

namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

void check(HRESULT result, std::string_view what, Where where) {
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(result));
        fail(std::string(what) + " failed (" + code + ")", where);
    }
}

class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

private:
    HRESULT result_;
};

std::vector<HWND> topWindowsOfAll() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring safeName(std::string_view name) {
    std::wstring result = wide(name);
    for (wchar_t& c : result) {
        if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'_';
    }
    return result;
}

// What a program paints reaches the screen a little later: Wine flushes a
// window's surface when the program's thread goes idle.  Painting whatever
// is pending now, synchronously, makes a capture show the current state.
// A hung program is left alone: RedrawWindow would wait for it for ever.
void settle(HWND window) {
    const auto paint = [](HWND top) {
        DWORD_PTR ignored = 0;
        if (SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored)) {
            RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    };
    if (window) {
        paint(rootOf(window));
        return;
    }
    for (HWND top : topWindowsOfAll()) paint(top);
}

}  // namespace

COLORREF Image::at(int x, int y) const {
    const std::uint32_t pixel = pixels.at(static_cast<std::size_t>(y) * width + x);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

Image captureRect(const RECT& screen, Where where) {
    Image image;
    image.width = screen.right - screen.left;
    image.height = screen.bottom - screen.top;
    if (image.width <= 0 || image.height <= 0) fail("capturing an empty rectangle", where);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, image.width, image.height, screenDc, screen.left, screen.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    if (copied) {
        const auto* source = static_cast<const std::uint32_t*>(bits);
        std::transform(source, source + image.pixels.size(), image.pixels.begin(), [](std::uint32_t p) { return p & 0xFFFFFF; });
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    if (!copied) detail::failWithLastError("BitBlt from the screen", where);
    return image;
}

Image capture(HWND window, Where where) {
    settle(window);
    if (window) return captureRect(windowRect(window), where);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return captureRect({left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                       where);
}

COLORREF pixelAt(HWND window, POINT client, Where where) {
    settle(window);
    POINT screen = client;
    ClientToScreen(window, &screen);
    return captureRect({screen.x, screen.y, screen.x + 1, screen.y + 1}, where).at(0, 0);
}

void savePng(const Image& image, const std::wstring& path, Where where) {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.out())),
          "creating the WIC factory", where);
    ComPtr<IWICStream> stream;
    check(factory->CreateStream(stream.out()), "creating a WIC stream", where);
    check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "opening " + utf8(path), where);
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()), "creating the PNG encoder", where);
    check(encoder->Initialize(stream.p, WICBitmapEncoderNoCache), "starting the PNG encoder", where);
    ComPtr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.out(), nullptr), "creating a PNG frame", where);
    check(frame->Initialize(nullptr), "starting the PNG frame", where);
    check(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height)), "sizing the PNG frame", where);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    check(frame->SetPixelFormat(&format), "choosing the PNG pixel format", where);
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) fail("the PNG encoder does not take 24-bit BGR", where);

    const UINT stride = static_cast<UINT>(image.width) * 3;
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * image.height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        rows[i * 3 + 0] = static_cast<BYTE>(image.pixels[i] & 0xFF);
        rows[i * 3 + 1] = static_cast<BYTE>((image.pixels[i] >> 8) & 0xFF);
        rows[i * 3 + 2] = static_cast<BYTE>((image.pixels[i] >> 16) & 0xFF);
    }
    check(frame->WritePixels(static_cast<UINT>(image.height), stride, static_cast<UINT>(rows.size()), rows.data()),
          "writing the PNG pixels", where);
    check(frame->Commit(), "finishing the PNG frame", where);
    check(encoder->Commit(), "finishing the PNG file", where);
}

std::wstring saveScreenshot(HWND window, std::wstring_view label, Where where) {
    return saveScreenshot(capture(window, where), label, where);
}

std::wstring saveScreenshot(const Image& image, std::wstring_view label, Where where) {
    const std::wstring folder = screenshotFolder().empty() ? L"." : screenshotFolder();
    std::error_code ignored;  // savePng says what went wrong
    std::filesystem::create_directories(folder, ignored);
    std::wstring name = L"screenshot";
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        name = safeName(std::string(test->test_suite_name()) + "." + test->name());
    }
    if (!label.empty()) name += L"-" + std::wstring(label);
    const std::wstring path = folder + L"\\" + name + L".png";
    savePng(image, path, where);
    return path;
}

}  // namespace morvane::gui
