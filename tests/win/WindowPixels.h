#pragma once
// Windows for the tests to place controls in, and the pixels a window paints.

#include "host/gdi/PixelImage.h"
#include "host/window/ContainerServices.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace qv::test {

// A hidden top-level window that keeps the font it is given (WM_SETFONT) and
// answers WM_GETFONT with it, as dialogs do, and records the WM_COMMAND
// notifications its children send.
class TestParent {
public:
    TestParent();
    ~TestParent();
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;
    HWND Get() const noexcept { return m_window; }

    struct Command {
        int id;
        int code;
        HWND control;
        // Who had the mouse while the parent heard of it.
        HWND capture;
    };
    std::vector<Command> commands;
    // Runs for each WM_COMMAND after it is recorded, as the parent's own handling would.
    std::function<void(const Command&)> onCommand;
    // WM_COMMAND and the buttons' WM_NOTIFY as they came, in one order:
    // "BN_CLICKED 7", "QVBN_MOUSEDOWN 7 button=1 shift=0 x=30 y=20 key=0 char=0".
    std::vector<std::string> heard;

private:
    HWND m_window;
};

// A container of its own, as a form designer would be: a fixed name and
// ambient font (Tahoma), recording the property changes it is told of.
class TestContainer final : public ContainerServices {
public:
    TestContainer(Text name, double points) : m_name(std::move(name)), m_points(points) {}
    Text DisplayName() override { return m_name; }
    FontRef AmbientFont() override;
    void PropertyChanged(const Text& propertyName) override { changed.push_back(propertyName); }

    std::vector<Text> changed;

private:
    Text m_name;
    double m_points;
};

// What `draw` draws into a 32-bit memory surface of that size.
PixelImage DrawnPixels(int width, int height, const std::function<void(HDC)>& draw);

// What the window draws into a memory surface through WM_PRINTCLIENT.
PixelImage PrintClient(HWND window);

// The folder of test pictures that the build writes beside the test program.
std::filesystem::path TestPictureFolder();

}  // namespace qv::test
