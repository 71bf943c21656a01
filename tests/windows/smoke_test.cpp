// DorvansClearmark.exe from the outside, as a user meets it: started as a program of its
// own, its windows found by their captions and driven through their controls.
//   smoke_test PATH\DorvansClearmark.exe
#include "outside_program.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <windows.h>

namespace {

using clearmark::testing_support::waitForWindow;

std::wstring program;

bool waitUntilGone(const wchar_t* windowClass, const wchar_t* caption) {
    for (int i = 0; i < 200; ++i) {
        const HWND hwnd = FindWindowW(windowClass, caption);
        if (hwnd == nullptr || !IsWindowVisible(hwnd))
            return true;
        Sleep(50);
    }
    return false;
}

int pixels(int twips) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(twips, dpi, 1440);
}

std::wstring textOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// Presses a button of another process's window without waiting for what it opens.
void press(HWND window, const wchar_t* caption) {
    const HWND button = FindWindowExW(window, nullptr, L"Button", caption);
    ASSERT_NE(button, nullptr) << "no button";
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// Keys as the keyboard types them, into the foreground window.
void typeKeys(std::initializer_list<WORD> keys) {
    for (const WORD key : keys) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(100);
    }
}

// An entry of the window's Help menu (after Tools) by keyboard, counted from 0 (menus belong
// to their process, so another program reaches them only through the keyboard); the window
// with that caption it opens. Keys injected from another process can go astray under Wine
// after a long run of other tests (in about one full run of three, never alone): a try whose
// window does not come leaves the menu with Esc and is made again, three times at most.
HWND chooseMenuEntry(HWND window, int position, const wchar_t* opens) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetForegroundWindow(window);
        for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i)
            Sleep(20);
        EXPECT_EQ(GetForegroundWindow(), window);
        typeKeys({VK_F10, VK_RIGHT, VK_DOWN});
        for (int i = 0; i < position; ++i)
            typeKeys({VK_DOWN});
        typeKeys({VK_RETURN});
        for (int i = 0; i < 100; ++i) {
            if (const HWND opened = FindWindowW(nullptr, opens); opened && IsWindowVisible(opened))
                return opened;
            Sleep(30);
        }
        typeKeys({VK_ESCAPE, VK_ESCAPE});
    }
    return nullptr;
}

// The static text of a message box.
std::wstring boxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

TEST(DorvansClearmark, OpensItsWindowsShowsABoxAndEndsOnExit) {
    const clearmark::testing_support::StartedProgram started(program);
    ASSERT_NE(started.process(), nullptr) << "cannot start the program";

    const HWND main = waitForWindow(nullptr, L"Dorvan's Clearmark");
    ASSERT_NE(main, nullptr) << "the main window did not open";
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, pixels(7440));
    EXPECT_EQ(client.bottom, pixels(3210));

    press(main, L"Converter");
    const HWND converter = waitForWindow(nullptr, L"Conversion Form");
    EXPECT_NE(converter, nullptr);
    // The converter has taken the foreground before the main window asks for it back (on a
    // busy machine its activation could otherwise come after, and take the menu keys).
    for (int i = 0; i < 100 && GetForegroundWindow() != converter; ++i)
        Sleep(20);
    EXPECT_NE(chooseMenuEntry(main, 1, L"How To Use Calculator"), nullptr);
    const HWND about = chooseMenuEntry(main, 0, L"About Clearmark");
    ASSERT_NE(about, nullptr);
    EXPECT_NE(FindWindowExW(about, nullptr, L"Button", L"OK"), nullptr);
    EXPECT_NE(FindWindowExW(about, nullptr, L"Button", L"&System Info..."), nullptr);

    // Calculate with nothing typed: the "Bad data" box, closed with its OK.
    press(main, L"Calculate");
    const HWND box = waitForWindow(L"#32770", L"Error");
    ASSERT_NE(box, nullptr) << "no box";
    EXPECT_EQ(boxText(box), L"Bad data");
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes input during the box";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(waitUntilGone(L"#32770", L"Error"));

    // Exit, then OK: the program ends, every window with it.
    press(main, L"Exit");
    const HWND exitBox = waitForWindow(L"#32770", L"EXIT Program");
    ASSERT_NE(exitBox, nullptr);
    EXPECT_EQ(boxText(exitBox), L"Are you sure you want to Exit program");
    PostMessageW(exitBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(started.process(), 10000), WAIT_OBJECT_0);
    DWORD status = 1;
    GetExitCodeProcess(started.process(), &status);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(FindWindowW(nullptr, L"Conversion Form"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, L"About Clearmark"), nullptr);
    EXPECT_EQ(textOf(FindWindowW(nullptr, L"Dorvan's Clearmark")), L"");
}

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: smoke_test PATH\\DorvansClearmark.exe\n");
        return 2;
    }
    const std::string path = argv[1];
    program.assign(path.begin(), path.end());
    return RUN_ALL_TESTS();
}
