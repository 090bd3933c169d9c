// What Windows reads from Morvane.exe and its installer before running them:
// the manifest, as the system's own activation-context parser sees it, and
// the version resource that Explorer shows under Details.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::wstring windowsPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

const std::wstring kProgram = windowsPath(MORVANE_TEST_PROGRAM);
const std::wstring kInstaller = windowsPath(MORVANE_TEST_INSTALLER);

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The file's resources, without running any of its code.
class Resources {
public:
    explicit Resources(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~Resources() {
        if (module_) FreeLibrary(module_);
    }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    HMODULE module() const { return module_; }

    // Every (name, language) of a type; names given by number only (0 for
    // a name given as text).
    std::vector<std::pair<UINT_PTR, WORD>> entries(LPCWSTR type) const {
        using Found = std::vector<std::pair<UINT_PTR, WORD>>;
        Found found;
        EnumResourceNamesW(
            module_, type,
            [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) -> BOOL {
                EnumResourceLanguagesW(
                    module, type, name,
                    [](HMODULE, LPCWSTR, LPCWSTR name, WORD language, LONG_PTR context) -> BOOL {
                        reinterpret_cast<Found*>(context)->emplace_back(
                            IS_INTRESOURCE(name) ? reinterpret_cast<UINT_PTR>(name) : 0, language);
                        return TRUE;
                    },
                    context);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&found));
        return found;
    }

    std::string bytes(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        const void* data = LockResource(LoadResource(module_, found));
        return std::string(static_cast<const char*>(data), SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

// The activation context that Windows builds from the file's manifest when
// it starts the program.  Building it fails for a manifest that is not
// well-formed or names a dependency the system cannot find.
class ManifestContext {
public:
    explicit ManifestContext(const std::wstring& path) {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        context_ = CreateActCtxW(&request);
        if (context_ == INVALID_HANDLE_VALUE) error_ = GetLastError();
    }
    ~ManifestContext() {
        if (valid()) ReleaseActCtx(context_);
    }
    ManifestContext(const ManifestContext&) = delete;
    ManifestContext& operator=(const ManifestContext&) = delete;

    bool valid() const { return context_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }
    HANDLE handle() const { return context_; }

    // What QueryActCtxW tells of the whole context.
    std::vector<char> query(ULONG infoClass) const {
        SIZE_T size = 0;
        QueryActCtxW(0, context_, nullptr, infoClass, nullptr, 0, &size);
        std::vector<char> buffer(size);
        if (size == 0 || !QueryActCtxW(0, context_, nullptr, infoClass, buffer.data(), size, &size))
            return {};
        buffer.resize(size);
        return buffer;
    }

    // A windowsSettings value, "" when it is not there.
    std::wstring setting(const wchar_t* space, const wchar_t* name) const {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_, space, name, value, std::size(value), &written)) return {};
        return value;
    }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    DWORD error_ = 0;
};

const wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

// ---- Both files ------------------------------------------------------------

struct FileCase {
    const char* name;
    const std::wstring* path;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

const FileCase kFiles[] = {{"Program", &kProgram}, {"Installer", &kInstaller}};

class EveryFile : public ::testing::TestWithParam<FileCase> {};

// One manifest, the one Windows reads at start: resource 1.  A second one
// (say, a default manifest the linker adds) leaves which one counts to chance.
TEST_P(EveryFile, HasExactlyOneManifestAsResourceOne) {
    Resources file(*GetParam().path);
    ASSERT_NE(file.module(), nullptr) << "cannot open " << utf8(*GetParam().path);
    const auto manifests = file.entries(RT_MANIFEST);
    ASSERT_EQ(manifests.size(), 1u);
    EXPECT_EQ(manifests.front().first, 1u);
}

// Never asks for administrator rights: both run for the user alone, and a
// file named "...setup.exe" without this would be raised by Windows' guess.
TEST_P(EveryFile, RunsAsInvokerWithoutUiAccess) {
    ManifestContext context(*GetParam().path);
    ASSERT_TRUE(context.valid()) << "the system does not accept the manifest (error " << context.error() << ")";
    const auto info = context.query(RunlevelInformationInActivationContext);
    ASSERT_GE(info.size(), sizeof(ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION));
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level;
    std::memcpy(&level, info.data(), sizeof(level));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(level.UiAccess, 0u);
}

INSTANTIATE_TEST_SUITE_P(Release, EveryFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The program's manifest ------------------------------------------------

TEST(ProgramManifest, IsAcceptedByTheSystem) {
    ManifestContext context(kProgram);
    EXPECT_TRUE(context.valid()) << "error " << context.error();
}

// Activating the program's context and loading comctl32 is what Windows
// does for the program itself: the library must come from the side-by-side
// assembly of version 6, not from the system folder (version 5).  Wine has
// one comctl32 for both, whose DllGetVersion always says 5, so the folder
// it was loaded from is what tells.
TEST(ProgramManifest, BringsInCommonControlsSix) {
    // A library already loaded by its name would be handed out again,
    // whatever context is active.
    ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "this test must be the first to load comctl32";
    ManifestContext context(kProgram);
    ASSERT_TRUE(context.valid()) << "error " << context.error();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context.handle(), &cookie));
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    DeactivateActCtx(0, cookie);
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(controls, path, MAX_PATH);
    EXPECT_NE(lower(utf8(path)).find("\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::string::npos)
        << utf8(path);
    FreeLibrary(controls);
}

TEST(ProgramManifest, NamesTheCommonControlsAssemblyOfMicrosoft) {
    const std::string manifest = Resources(kProgram).bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
    for (const char* attribute : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                                  "publicKeyToken=\"6595b64144ccf1df\""}) {
        EXPECT_NE(manifest.find(attribute), std::string::npos) << attribute;
    }
}

// Windows 8.1 and later treat a program that does not list them as one for
// Vista: GetVersionEx lies to it and newer behaviour stays off.
TEST(ProgramManifest, ListsEverySupportedSystem) {
    ManifestContext context(kProgram);
    ASSERT_TRUE(context.valid()) << "error " << context.error();
    const auto info = context.query(CompatibilityInformationInActivationContext);
    ASSERT_GE(info.size(), sizeof(DWORD));
    DWORD count = 0;
    std::memcpy(&count, info.data(), sizeof(count));
    ASSERT_GT(count, 0u);
    // Newer systems add a 64-bit MaxVersionTested to each element, which
    // also moves the first one to offset 8: tell the layouts by the size.
    std::size_t offset = sizeof(DWORD), stride = sizeof(GUID) + sizeof(DWORD);
    if (info.size() == 8 + count * 32) offset = 8, stride = 32;
    ASSERT_EQ(info.size(), offset + count * stride) << "unknown layout";
    std::vector<std::string> systems;
    for (DWORD i = 0; i < count; ++i) {
        const char* element = info.data() + offset + i * stride;
        GUID id;
        DWORD type = 0;
        std::memcpy(&id, element, sizeof(id));
        std::memcpy(&type, element + sizeof(GUID), sizeof(type));
        if (type != ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) continue;
        wchar_t text[40] = {};
        StringFromGUID2(id, text, static_cast<int>(std::size(text)));
        systems.push_back(lower(utf8(text)));
    }
    std::sort(systems.begin(), systems.end());
    const std::vector<std::string> expected = {
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Windows Vista
    };
    EXPECT_EQ(systems, expected);
}

// Each setting in the namespace where Windows looks for it: in any other
// it is silently ignored and the system stretches the windows instead.
struct SettingCase {
    const char* name;
    const wchar_t* space;
    const wchar_t* setting;
    const wchar_t* value;
};

void PrintTo(const SettingCase& c, std::ostream* out) { *out << c.name; }

class DpiSetting : public ::testing::TestWithParam<SettingCase> {};

TEST_P(DpiSetting, IsReadByTheSystem) {
    ManifestContext context(kProgram);
    ASSERT_TRUE(context.valid()) << "error " << context.error();
    EXPECT_EQ(utf8(context.setting(GetParam().space, GetParam().setting)), utf8(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(ProgramManifest, DpiSetting,
                         ::testing::Values(SettingCase{"DpiAware2005", kSettings2005, L"dpiAware", L"true"},
                                           SettingCase{"DpiAwareness2016", kSettings2016, L"dpiAwareness", L"system"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The manifest's own version is written by hand; it must follow the program's.
TEST(ProgramManifest, CarriesTheProgramsVersion) {
    const std::string manifest = Resources(kProgram).bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
    const std::string identity = "name=\"Lestrio.Morvane\" version=\"" MORVANE_TEST_VERSION_QUAD "\"";
    EXPECT_NE(manifest.find(identity), std::string::npos) << manifest.substr(0, 400);
}

// ---- Version resources -------------------------------------------------------

struct VersionCase {
    const char* name;
    const std::wstring* path;
    const wchar_t* description;
    WORD codePage;  // of the texts' table; makensis names the language's own
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.name; }

class VersionResource : public ::testing::TestWithParam<VersionCase> {
protected:
    void SetUp() override {
        const std::wstring& path = *GetParam().path;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in " << utf8(path);
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block_.data()));
    }
    const void* value(const std::wstring& key) const {
        void* found = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), key.c_str(), &found, &length) || length == 0) return nullptr;
        return found;
    }
    std::vector<char> block_;
};

TEST_P(VersionResource, NumbersAreTheProgramsVersion) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, MORVANE_TEST_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, MORVANE_TEST_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask & (VS_FF_DEBUG | VS_FF_PRERELEASE), 0u);
}

// The texts of the first translation, the one Explorer shows.  Chinese in
// the description proves the resource compiler read its source as UTF-8.
TEST_P(VersionResource, TextsAreTheProductsInSimplifiedChinese) {
    const auto* translation = static_cast<const WORD*>(value(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0804) << "Chinese (PRC)";
    EXPECT_EQ(translation[1], GetParam().codePage);
    wchar_t prefix[40];
    swprintf(prefix, std::size(prefix), L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);

    const bool program = GetParam().path == &kProgram;
    struct Text {
        const wchar_t* key;
        std::wstring expected;
    };
    std::vector<Text> texts = {
        {L"ProductName", L"Morvane"},
        {L"ProductVersion", L"" MORVANE_TEST_VERSION},
        {L"FileVersion", L"" MORVANE_TEST_VERSION_QUAD},
        {L"FileDescription", GetParam().description},
        {L"CompanyName", L"Lestrio"},
    };
    if (program) {
        texts.push_back({L"OriginalFilename", L"Morvane.exe"});
        texts.push_back({L"InternalName", L"Morvane"});
    }
    for (const Text& text : texts) {
        const auto* found = static_cast<const wchar_t*>(value(prefix + std::wstring(text.key)));
        EXPECT_EQ(utf8(found ? found : L"(missing)"), utf8(text.expected)) << utf8(text.key);
    }
}

const VersionCase kVersions[] = {
    {"Program", &kProgram, L"Morvane 曲谱转换", 1200},
    {"Installer", &kInstaller, L"Morvane " MORVANE_TEST_VERSION " 安装程序", 936},
};

INSTANTIATE_TEST_SUITE_P(Release, VersionResource, ::testing::ValuesIn(kVersions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
