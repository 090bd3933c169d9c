#include "win32/picture.h"

#include <wincodec.h>

#include "win32/window.h"

namespace morvane::win32 {

namespace {

constexpr wchar_t kPictureClass[] = L"MorvanePicture";

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// Decodes with the system's own decoder into a top-down 32-bit DIB section.
HBITMAP decodeResourceImage(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return nullptr;
    HGLOBAL loaded = LoadResource(module, info);
    auto* bytes = static_cast<BYTE*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, info);
    if (!bytes || size == 0) return nullptr;

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()))))
        return nullptr;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.out())) || FAILED(stream->InitializeFromMemory(bytes, size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);

    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = static_cast<LONG>(width);
    header.bmiHeader.biHeight = -static_cast<LONG>(height);
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) return nullptr;
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(pixels)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_NCDESTROY:
        if (bitmap) DeleteObject(bitmap);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        if (bitmap) {
            BITMAP info;
            GetObjectW(bitmap, sizeof(info), &info);
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, bitmap);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        } else {
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND createPictureBox(HWND parent, int id, ControlRect rect, const wchar_t* resourceName) {
    registerWindowClass(kPictureClass, pictureProc);
    HBITMAP bitmap = decodeResourceImage(resourceName);
    // Clipped by its siblings: the buttons that lie over it stay in front.
    HWND hwnd = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.x, rect.y, rect.width,
                                rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), bitmap);
    if (!hwnd && bitmap) DeleteObject(bitmap);
    return hwnd;
}

}  // namespace morvane::win32
