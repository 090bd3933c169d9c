// A stand-in for the skin library: records what the program hands over, in
// "skin-call.txt" next to itself, and changes nothing.
#include <windows.h>

#include <cstdio>

namespace {

HMODULE self() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&self), &module);
    return module;
}

}  // namespace

extern "C" __declspec(dllexport) int WINAPI SkinH_AttachRes(const unsigned char* skin, int size, const char* text,
                                                            int a, int b, int c) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self(), path, MAX_PATH);
    wchar_t* slash = wcsrchr(path, L'\\');
    if (!length || !slash) return 0;
    wcscpy(slash + 1, L"skin-call.txt");
    FILE* record = _wfopen(path, L"ab");
    if (!record) return 0;
    std::fprintf(record, "size=%d magic=", size);
    for (int i = 0; skin && i < 4 && i < size; ++i) std::fprintf(record, "%02X", skin[i]);
    std::fprintf(record, " text=\"%s\" rest=%d,%d,%d\n", text ? text : "(null)", a, b, c);
    std::fclose(record);
    return 1;
}
