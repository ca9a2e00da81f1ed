#include "TestSupport.h"

#include "host/window/MessagePump_win.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qv::test {

Text ServerUrl(std::string_view pathAndQuery)
{
    wchar_t address[64] = {};
    if (!GetEnvironmentVariableW(L"QV_TEST_SERVER", address, 64)) {
        throw std::runtime_error("QV_TEST_SERVER is not set: run the tests through tools/run_with_server.py");
    }
    return u"http://" + Text(reinterpret_cast<const char16_t*>(address)) + TextFromAscii(pathAndQuery);
}

std::vector<std::uint8_t> ServedPattern(std::size_t n)
{
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) * 13 + (i >> 16) * 31);
    }
    return bytes;
}

TempFolder::TempFolder()
{
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             (L"qv-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::wstring> TempFolder::Entries() const
{
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().wstring());
    }
    return names;
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

Text AsText(const std::filesystem::path& path)
{
    const std::wstring wide = path.wstring();
    return Text(wide.begin(), wide.end());
}

std::wstring AsWide(const Text& text)
{
    return std::wstring(text.begin(), text.end());
}

void RecordingSink::ReadProgress(const ReadNotification& notification)
{
    progress.push_back(notification.value.Bytes().size);
}

void RecordingSink::ReadCompleted(const ReadNotification& notification)
{
    ++completions;
    last = notification;
}

bool RecordingSink::WaitForEnd(int seconds)
{
    return PumpUntil([this] { return Ended(); }, std::chrono::seconds(seconds));
}

std::vector<std::uint8_t> RecordingSink::Bytes() const
{
    return last ? last->value.Bytes().ToVector() : std::vector<std::uint8_t>{};
}

std::optional<HostError> RecordingSink::Error() const
{
    try {
        if (last) {
            last->value.Bytes();
        }
    } catch (const HostError& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace qv::test
