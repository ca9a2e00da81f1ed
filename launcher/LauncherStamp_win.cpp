#include "LauncherStamp_win.h"

#include "ResourceIds.h"

#include "host/base/OwnedHandle_win.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/OpenFileRename_win.h"
#include "host/files/OwnedFile_win.h"

namespace qv {
namespace {

using LoadedModule = OwnedHandle<HMODULE, &FreeLibrary>;

// A launcher file as data: its resources readable, nothing of it run.
LoadedModule LoadAsData(const Text& file)
{
    LoadedModule module(LoadLibraryExW(Wide(file), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        throw ErrorFromLastError(u"\u201E" + file + u"\u201C kann nicht als Programm gelesen werden");
    }
    return module;
}

// The version block names the program: only a launcher of this project is stamped.
bool IsQuorvelindeLauncher(const Text& file)
{
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(Wide(file), &unused);
    std::vector<unsigned char> block(size);
    wchar_t* name = nullptr;
    UINT length = 0;
    return size > 0 && GetFileVersionInfoW(Wide(file), 0, size, block.data()) &&
           VerQueryValueW(block.data(), L"\\StringFileInfo\\040704B0\\InternalName", reinterpret_cast<void**>(&name),
                          &length) &&
           name && std::wstring(name) == L"Quorvelinde";
}

// The copy being written, removed unless it took its place.
class StampedCopy {
public:
    explicit StampedCopy(Text path) : m_path(std::move(path)) {}
    ~StampedCopy()
    {
        if (!m_placed) {
            DeleteFileW(Wide(m_path));
        }
    }
    StampedCopy(const StampedCopy&) = delete;
    StampedCopy& operator=(const StampedCopy&) = delete;
    const Text& Path() const noexcept { return m_path; }
    void Placed() noexcept { m_placed = true; }

private:
    Text m_path;
    bool m_placed = false;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> StampOfModule(HMODULE module)
{
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(QV_STAMP), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) {
        return std::nullopt;
    }
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) {
        throw ErrorFromLastError(u"Der Stempel des Launchers kann nicht gelesen werden");
    }
    return std::vector<std::uint8_t>(data, data + SizeofResource(module, found));
}

std::optional<std::vector<std::uint8_t>> StampOfFile(const Text& launcher)
{
    const LoadedModule module = LoadAsData(launcher);
    return StampOfModule(module.Get());
}

void StampLauncherFile(const Text& launcher, const Text& copy, const LauncherSettings& settings)
{
    const std::vector<std::uint8_t> stamp = StampOf(settings);
    if (_wcsicmp(Wide(FullPathOf(launcher)), Wide(FullPathOf(copy))) == 0) {
        throw HostError(ErrorNumber::InvalidCall, u"Die Kopie braucht einen eigenen Namen: der Launcher selbst bleibt, wie er ist");
    }
    {
        const OwnedFile held(CreateFileW(Wide(launcher), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!held) {
            throw ErrorFromLastError(u"Der Launcher \u201E" + launcher + u"\u201C kann nicht geöffnet werden");
        }
        if (ShapeOfProgram(FileBytes(held.Get())) != ProgramShape::Whole || !IsQuorvelindeLauncher(launcher)) {
            throw HostError(ErrorNumber::FileRefused, u"\u201E" + launcher + u"\u201C ist kein vollständiger Quorvelinde-Launcher");
        }
    }
    StampedCopy written(FullPathOf(copy) + u".~stempel.tmp");
    if (!CopyFileW(Wide(launcher), Wide(written.Path()), FALSE)) {
        throw ErrorFromLastError(u"Die Kopie kann nicht angelegt werden");
    }
    const HANDLE update = BeginUpdateResourceW(Wide(written.Path()), FALSE);
    if (!update) {
        throw ErrorFromLastError(u"Die Kopie kann nicht gestempelt werden");
    }
    if (!UpdateResourceW(update, MAKEINTRESOURCEW(10) /* RT_RCDATA */, MAKEINTRESOURCEW(QV_STAMP),
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), const_cast<std::uint8_t*>(stamp.data()),
                         static_cast<DWORD>(stamp.size()))) {
        const HostError error = ErrorFromLastError(u"Die Kopie kann nicht gestempelt werden");
        EndUpdateResourceW(update, TRUE);
        throw error;
    }
    if (!EndUpdateResourceW(update, FALSE)) {
        throw ErrorFromLastError(u"Die Kopie kann nicht gestempelt werden");
    }
    // Read back as the launcher will read it.
    const auto readBack = StampOfFile(written.Path());
    if (!readBack || *readBack != stamp) {
        throw HostError(ErrorNumber::Internal, u"Der Stempel liest sich in der Kopie nicht so, wie er geschrieben wurde");
    }
    if (!MoveFileExW(Wide(written.Path()), Wide(copy), MOVEFILE_REPLACE_EXISTING)) {
        throw ErrorFromLastError(u"Die Kopie kann nicht an ihren Platz");
    }
    written.Placed();
}

}  // namespace qv
