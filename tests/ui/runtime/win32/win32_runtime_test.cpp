// The Win32 implementation's own part: the windows' frames, sizes and places, the system's
// controls with their styles, fonts and colours, the real message box and the clipboard.
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "runtime/msgbox.h"
#include "runtime/peer_access.h"
#include "runtime/twips.h"
#include "runtime/win32/accessible_forwarder.h"
#include "runtime/win32/test_hooks.h"
#include "sheet/frmValveSheet.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace clearmark {
namespace {

namespace win32 = runtime::win32;
using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgButtons;
using runtime::MsgIcon;

int px(int twips) {
    return runtime::twipsToPixels(twips, win32::screenDpi());
}

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The control of that name, whatever its kind.
runtime::Control find(const runtime::Form& form, const char* name) {
    for (const runtime::Control& control : form.controls())
        if (control.name() == name)
            return control;
    throw std::logic_error(std::string("no control ") + name);
}

// The system's window of the control of that name.
HWND handle(const runtime::Form& form, const char* name) {
    return win32::createControlIfMissing(find(form, name));
}

LONG_PTR style(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

RECT clientOnScreen(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

using Win32Windows = testing_support::WithMainWindow;

// A run on a screen of another density says which (CLEARMARK_EXPECT_DPI), and gets it.
TEST_F(Win32Windows, TheScreenHasTheDensityOfTheRun) {
    const char* expected = std::getenv("CLEARMARK_EXPECT_DPI");
    EXPECT_EQ(win32::screenDpi(), expected != nullptr ? std::atoi(expected) : 96);
    RECT client;
    GetClientRect(win32::createWindowIfMissing(*main), &client);
    EXPECT_EQ(client.right, MulDiv(496, win32::screenDpi(), 96));
}

TEST_F(Win32Windows, FramesSizesAndPlacesAsDesigned) {
    click(*main, "cmdConverter");
    choose(*main, "mnuHelp2");
    choose(*main, "mnuAbout");
    struct Expected {
        const runtime::Form* form;
        int width, height; // twips
        bool sizable;
        std::optional<POINT> start; // twips
    };
    const Expected windows[] = {
        {main, 7440, 3210, true, std::nullopt},
        {forms().find<frmConvert>(), 4680, 3090, true, POINT{1830, 1425}},
        {forms().find<frmHelpCalculator>(), 7800, 1755, true, std::nullopt},
        {forms().find<frmAbout>(), 5730, 4560, false, POINT{2340, 1935}},
    };
    for (const Expected& w : windows) {
        ASSERT_NE(w.form, nullptr);
        SCOPED_TRACE(w.form->design().name);
        const HWND hwnd = win32::createWindowIfMissing(*w.form);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        const RECT client = clientOnScreen(hwnd);
        EXPECT_EQ(client.right - client.left, px(w.width));
        EXPECT_EQ(client.bottom - client.top, px(w.height));
        if (w.start) {
            EXPECT_EQ(client.left, px(w.start->x));
            EXPECT_EQ(client.top, px(w.start->y));
        }
        const LONG_PTR s = style(hwnd);
        EXPECT_EQ((s & WS_THICKFRAME) != 0, w.sizable);
        EXPECT_EQ((s & WS_MINIMIZEBOX) != 0, w.sizable);
        EXPECT_EQ(s & WS_MAXIMIZEBOX, 0);
        EXPECT_NE(s & WS_SYSMENU, 0);
        EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        // A window kept out of the task bar is owned by the program's hidden window.
        // No window is owned, not even About, which a window manager would then never make
        // active again; About is kept out of the task bar instead (tests/wm checks it).
        EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
        EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0) != 0 ||
                      GetClassLongPtrW(hwnd, GCLP_HICON) != 0,
                  false);
    }
    // The menu bar: Tools, then Help.
    const HMENU bar = GetMenu(win32::createWindowIfMissing(*main));
    wchar_t menus[2][16] = {};
    for (UINT m = 0; m < 2; ++m)
        GetMenuStringW(bar, m, menus[m], 16, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(std::wstring(menus[0]) + L" " + menus[1], L"Tools Help");
}

// A window of the runtime's own, with a read-only box and a check box.
// clang-format off
constexpr runtime::ControlDesign kProbeControls[] = {
    {"txtFirst", runtime::ControlKind::TextBox,  "",     120,  240, 1500,  375,  1},
    {"txtShown", runtime::ControlKind::TextBox,  "",     120,  700, 1500,  375,  2, {}, {}, {}, {}, true},
    {"chkTidy",  runtime::ControlKind::CheckBox, "Tidy", 120, 1200, 1200,  255,  3},
    {"lblNote",  runtime::ControlKind::Label,    "Note", 120, 1600, 1200,  255,  4},
};
// clang-format on
constexpr runtime::WindowDesign kProbeWindow{.name = "frmProbe",
                                             .caption = "Probe",
                                             .clientWidth = 3000,
                                             .clientHeight = 2000,
                                             .controls = kProbeControls};

class frmProbe : public runtime::Form {
public:
    frmProbe() : Form(kProbeWindow) {}
    void rename(const char* control, const char* name) {
        setAccessibleName(find(*this, control), name);
    }
};

// The control as a screen reader in the program's own process reads it.
struct Read {
    std::wstring name;
    long role = 0, state = 0;
};
Read readerOf(HWND control) {
    void* object = nullptr;
    Read read;
    if (FAILED(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT),
                                          win32::accessible::kAccessibleIid, &object)))
        return read;
    auto* reader = static_cast<IAccessible*>(object);
    const VARIANT self = win32::accessible::number(CHILDID_SELF);
    BSTR name = nullptr;
    VARIANT role, state;
    if (reader->get_accName(self, &name) == S_OK && name != nullptr)
        read.name = name;
    SysFreeString(name);
    if (reader->get_accRole(self, &role) == S_OK && reader->get_accState(self, &state) == S_OK)
        read = {read.name, role.lVal, state.lVal};
    reader->Release();
    return read;
}

TEST_F(Win32Windows, CheckBoxAndReadOnlyBoxAreTheSystemsOwnAndAScreenReaderReadsThemSo) {
    frmProbe& probe = forms().show<frmProbe>();
    const HWND check = handle(probe, "chkTidy");
    const HWND shown = handle(probe, "txtShown");
    EXPECT_EQ(style(check) & (BS_TYPEMASK | WS_TABSTOP), BS_AUTOCHECKBOX | WS_TABSTOP);
    EXPECT_EQ(style(shown) & (ES_READONLY | WS_TABSTOP), ES_READONLY);
    for (const bool checked : {false, true}) {
        probe.control<runtime::CheckBox>("chkTidy").setValue(checked);
        const Read read = readerOf(check);
        EXPECT_EQ(read.name, L"Tidy");
        EXPECT_EQ(read.role, ROLE_SYSTEM_CHECKBUTTON);
        EXPECT_EQ((read.state & STATE_SYSTEM_CHECKED) != 0, checked);
    }
    // Named by the window, and named again.
    for (const char* name : {"Inlet 1", "Exhaust 1"}) {
        probe.rename("txtShown", name);
        const Read read = readerOf(shown);
        EXPECT_EQ(read.name, win32::widen(name));
        EXPECT_NE(read.state & STATE_SYSTEM_READONLY, 0);
    }
    EXPECT_EQ(readerOf(handle(probe, "txtFirst")).state & STATE_SYSTEM_READONLY, 0);
}

// A window with a menu whose entry has a shortcut key.
constexpr runtime::MenuEntryDesign kJobEntries[] = {
    {.name = "mnuNew", .caption = "&New", .shortcut = runtime::Shortcut{'N'}},
    {.name = "mnuPlain", .caption = "Plain"}};
constexpr runtime::MenuDesign kJobMenus[] = {
    {.name = "mnuFile", .caption = "&File", .entries = kJobEntries}};
constexpr runtime::WindowDesign kJobWindow{.name = "frmJob",
                                           .caption = "Job",
                                           .clientWidth = 3000,
                                           .clientHeight = 2000,
                                           .controls = kProbeControls,
                                           .menus = kJobMenus};
class frmJob : public runtime::Form {
public:
    frmJob() : Form(kJobWindow) {}
};

// The menu shows the shortcut key in its own column and greys a disabled entry; the system's
// control is disabled and no Tab stop while the window disables it, before the window is made
// and after.
TEST_F(Win32Windows, DisabledEntriesAndControlsAreGreyedByTheSystemAndShortcutsShown) {
    frmJob& job = forms().load<frmJob>();
    const auto entry = job.control<runtime::MenuItem>("mnuNew");
    const runtime::Control box = find(job, "txtFirst");
    entry.setEnabled(false);
    box.setEnabled(false);
    const HMENU file = GetSubMenu(GetMenu(win32::createWindowIfMissing(job)), 0);
    wchar_t text[2][32] = {};
    for (UINT i = 0; i < 2; ++i)
        GetMenuStringW(file, i, text[i], 32, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text[0]), L"&New\tCtrl+N");
    EXPECT_EQ(std::wstring(text[1]), L"Plain");
    EXPECT_EQ(entry.caption(), "&New");
    const auto greyed = [file] {
        return (GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
    };
    const HWND hwnd = handle(job, "txtFirst");
    for (const bool enabled : {false, true, false}) {
        entry.setEnabled(enabled);
        box.setEnabled(enabled);
        EXPECT_EQ(greyed(), !enabled);
        EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, enabled);
        EXPECT_EQ((style(hwnd) & WS_TABSTOP) != 0, enabled);
    }
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
}

// The place and size of the system's control within its window's client area.
bool standsAt(HWND control, const RECT& area) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return EqualRect(&rect, &area) != FALSE;
}

TEST_F(Win32Windows, MovedControlsAndANewClientHeightBeforeAndOnceTheWindowIsMade) {
    frmProbe& probe = forms().load<frmProbe>();
    for (const auto& [left, height] : {std::pair{1500, 3000}, std::pair{75, 1500}}) {
        for (const char* name : {"txtFirst", "chkTidy", "lblNote"}) {
            const runtime::Control control = find(probe, name);
            const RECT before = win32::areaOf(control);
            control.move(left, 8);
            const RECT area = win32::areaOf(control);
            EXPECT_EQ(area.left, px(left)) << name;
            EXPECT_EQ(area.top, px(8)) << name;
            EXPECT_EQ(area.right - area.left, before.right - before.left) << name;
            EXPECT_EQ(area.bottom - area.top, before.bottom - before.top) << name;
        }
        probe.setClientHeight(height);
        RECT client;
        GetClientRect(win32::createWindowIfMissing(probe), &client);
        EXPECT_EQ(client.bottom, px(height));
        for (const char* name : {"txtFirst", "chkTidy"})
            EXPECT_TRUE(standsAt(handle(probe, name), win32::areaOf(find(probe, name)))) << name;
    }
    // Below the main window's menu bar too, its width kept.
    main->setClientHeight(4500);
    RECT client;
    GetClientRect(win32::createWindowIfMissing(*main), &client);
    EXPECT_EQ(client.bottom, px(4500));
    EXPECT_EQ(client.right, px(7440));
}

// A window loaded hidden at start costs nothing on the screen until it first opens; what its
// load step set is there when it does.
TEST_F(Win32Windows, AWindowLoadedHiddenIsMadeWhenFirstShown) {
    ASSERT_NE(forms().find<frmConvert>(), nullptr);
    EXPECT_EQ(FindWindowW(L"ClearmarkWindow", L"Conversion Form"), nullptr);
    const auto& conv = *forms().find<frmConvert>();
    textBox(conv, "txtData").setText("1.5");
    click(*main, "cmdConverter");
    const HWND window = FindWindowW(L"ClearmarkWindow", L"Conversion Form");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    wchar_t text[16] = {};
    GetWindowTextW(win32::createControlIfMissing(textBox(conv, "txtData")), text, 16);
    EXPECT_STREQ(text, L"1.5");
    EXPECT_EQ(GetParent(win32::createControlIfMissing(textBox(conv, "txtData"))), window);
}

TEST_F(Win32Windows, ControlsAreTheSystemsOwnWithTheDesignedStyles) {
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    struct Row {
        const runtime::Form* form;
        const char* name;
        const wchar_t* windowClass; // none: drawn by the window
        LONG_PTR style;             // all of these bits
        LONG_PTR exStyle;           // and these
        int left, top, width, height;
    };
    const Row rows[] = {
        {main, "txtGap", L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 360, 1695,
         495},
        {main, "lblConvert", nullptr, 0, 0, 4800, 1080, 2295, 1095},
        {main, "lblGap", nullptr, 0, 0, 240, 120, 1935, 255},
        {main, "cmdExit", L"Button", BS_OWNERDRAW | WS_TABSTOP, 0, 480, 2520, 855, 375},
        {&conv, "cmdCopy", L"Button", BS_OWNERDRAW | WS_TABSTOP, 0, 360, 2280, 1695, 615},
        {&conv, "optMmToInches", L"Button", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, 2760, 480, 1815,
         195},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const runtime::Control control = find(*row.form, row.name);
        const HWND hwnd = win32::createControlIfMissing(control);
        RECT rect = win32::areaOf(control);
        if (row.windowClass == nullptr) {
            EXPECT_EQ(hwnd, nullptr);
        } else {
            ASSERT_NE(hwnd, nullptr);
            EXPECT_EQ(_wcsicmp(className(hwnd).c_str(), row.windowClass), 0);
            EXPECT_EQ(style(hwnd) & row.style, row.style);
            EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & row.exStyle, row.exStyle);
            GetWindowRect(hwnd, &rect);
            MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
        }
        EXPECT_EQ(rect.left, px(row.left));
        EXPECT_EQ(rect.top, px(row.top));
        EXPECT_EQ(rect.right - rect.left, px(row.width));
        EXPECT_EQ(rect.bottom - rect.top, px(row.height));
    }
    // No length limit on a text box.
    EXPECT_GE(SendMessageW(win32::createControlIfMissing(textBox(*main, "txtGap")), EM_GETLIMITTEXT,
                           0, 0),
              0x7FFFFFFE);
}

// The face the system draws for "Microsoft Sans Serif" (under Wine another family in its
// place).
std::wstring scalableFace() {
    HDC dc = GetDC(nullptr);
    HFONT font =
        CreateFontW(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft Sans Serif");
    const HGDIOBJ before = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, before);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return face;
}

// What GDI draws, measured on a device context: the designed em height and weight, in the
// bitmap face where it has them, else in the scalable face of the same design.
TEST_F(Win32Windows, FontsAreDrawnAtTheDesignedSizesAndWeights) {
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    struct Row {
        const runtime::Form* form;
        const char* name;
        double points;
        bool bold;
    };
    const Row rows[] = {{main, "cmdExit", 8.25, false},     {main, "lblGap", 8.25, false},
                        {main, "cmdConverter", 9.75, true}, {main, "lblConvert", 12, true},
                        {main, "txtGap", 18, true},         {&conv, "txtData", 18, true},
                        {&conv, "cmdCopy", 8.25, true},     {&conv, "cmdConvert1", 12, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HDC dc = GetDC(nullptr);
        const HGDIOBJ before = SelectObject(dc, win32::fontOnScreen(find(*row.form, row.name)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, before);
        ReleaseDC(nullptr, dc);
        EXPECT_TRUE(std::wstring(face) == L"MS Sans Serif" || face == scalableFace())
            << win32::narrow(face);
        // Within a pixel of the designed em height, as the system rounds it.
        EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading,
                    MulDiv(int(row.points * 100 + 0.5), win32::screenDpi(), 7200), 1);
        EXPECT_EQ(metrics.tmWeight >= FW_SEMIBOLD, row.bold) << metrics.tmWeight;
    }
}

// Each icon at the size asked for, not the first one loaded.
TEST_F(Win32Windows, IconsComeAtTheirOwnSizes) {
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(win32::pictureIcon(runtime::kWindowIcon, size), &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            DeleteObject(info.hbmColor);
        EXPECT_EQ(bitmap.bmWidth, size);
    }
}

// A label drawn by its window into a bitmap of its size.
struct Drawn {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    // The rows that hold anything but the background, as runs (first, last).
    std::vector<std::pair<int, int>> inkRows(COLORREF background) const {
        std::vector<std::pair<int, int>> runs;
        for (int y = 0; y < height; ++y) {
            bool ink = false;
            for (int x = 0; x < width && !ink; ++x)
                ink = at(x, y) != background;
            if (ink && (runs.empty() || runs.back().second != y - 1))
                runs.emplace_back(y, y);
            else if (ink)
                runs.back().second = y;
        }
        return runs;
    }
};

// Draws into a bitmap of the control's size and reads the pixels back.
template <class Paint> Drawn drawn(const RECT& area, Paint paint) {
    const RECT rect{0, 0, area.right - area.left, area.bottom - area.top};
    Drawn drawn{rect.right, rect.bottom, {}};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    const HGDIOBJ before = SelectObject(dc, bitmap);
    paint(dc, rect);
    for (int y = 0; y < rect.bottom; ++y)
        for (int x = 0; x < rect.right; ++x)
            drawn.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, before);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return drawn;
}

// A label as its window draws it.
Drawn draw(const runtime::Form& form, const char* name) {
    const runtime::Control label = find(form, name);
    return drawn(win32::areaOf(label),
                 [&label](HDC dc, const RECT& rect) { win32::drawLabel(label, dc, rect); });
}

// A command button as its window draws it for the system.
Drawn drawButton(const runtime::Form& form, const char* name) {
    const HWND button = handle(form, name);
    RECT area;
    GetClientRect(button, &area);
    return drawn(area, [button](HDC dc, const RECT& rect) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = UINT(GetDlgCtrlID(button));
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = rect;
        SendMessageW(GetParent(button), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    });
}

TEST_F(Win32Windows, LabelsAreOpaqueInTheButtonFaceWithTheirOwnTextColours) {
    choose(*main, "mnuAbout");
    const auto& about = *forms().find<frmAbout>();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Row {
        const runtime::Form* form;
        const char* name;
        COLORREF text;
    };
    const Row rows[] = {{&about, "lblDisclaimer", RGB(255, 0, 0)},
                        {&about, "lblDescription", RGB(0, 0, 0)},
                        {main, "lblGap", GetSysColor(COLOR_WINDOWTEXT)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Drawn drawn = draw(*row.form, row.name);
        EXPECT_EQ(drawn.at(drawn.width - 1, drawn.height - 1), face);
        int text = 0;
        int other = 0;
        // A scalable face's edges may blend the text colour into the button face.
        const auto between = [&](COLORREF pixel) {
            const auto within = [](int v, int a, int b) {
                return v >= std::min(a, b) && v <= std::max(a, b);
            };
            return within(GetRValue(pixel), GetRValue(row.text), GetRValue(face)) &&
                   within(GetGValue(pixel), GetGValue(row.text), GetGValue(face)) &&
                   within(GetBValue(pixel), GetBValue(row.text), GetBValue(face));
        };
        for (const COLORREF pixel : drawn.pixels) {
            text += pixel == row.text ? 1 : 0;
            other += pixel != row.text && pixel != face && !between(pixel) ? 1 : 0;
        }
        EXPECT_GT(text, 50) << "too little text drawn";
        EXPECT_EQ(other, 0) << "pixels of neither the text nor the button face";
    }
}

TEST_F(Win32Windows, CentredLabelsAreCentred) {
    choose(*main, "mnuAbout");
    const auto& about = *forms().find<frmAbout>();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const char* name : {"lblTitle", "lblVersion"}) {
        SCOPED_TRACE(name);
        const Drawn drawn = draw(about, name);
        int first = drawn.width;
        int last = -1;
        for (int y = 0; y < drawn.height; ++y)
            for (int x = 0; x < drawn.width; ++x)
                if (drawn.at(x, y) != face) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_GE(last, first);
        EXPECT_LE(std::abs(first - (drawn.width - 1 - last)), MulDiv(2, win32::screenDpi(), 96));
    }
}

TEST_F(Win32Windows, AboutHasItsPictureAndItsDefaultButton) {
    choose(*main, "mnuAbout");
    const auto& about = *forms().find<frmAbout>();
    const HWND picture = handle(about, "picIcon");
    EXPECT_NE(SendMessageW(picture, STM_GETICON, 0, 0), 0);
    EXPECT_NE(GetWindowLongPtrW(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    // The default button has its dark frame, the others not until they take the focus.
    const Drawn ok = drawButton(about, "cmdOK");
    const Drawn sysInfo = drawButton(about, "cmdSysInfo");
    EXPECT_EQ(ok.at(0, ok.height / 2), RGB(0, 0, 0));
    EXPECT_NE(sysInfo.at(0, sysInfo.height / 2), RGB(0, 0, 0));
}

// The sheet's frame follows its rows; with all 24 it fits a 1280 x 680 area at 96 DPI, the
// summary and buttons below the last row.
TEST_F(Win32Windows, TheValveSheetGrowsWithItsRowsAndFitsWith24) {
    choose(*main, "mnuValveSheet");
    const frmValveSheet& sheet = *forms().find<frmValveSheet>();
    const HWND window = GetParent(win32::createControlIfMissing(textBox(sheet, "txtCylinders")));
    const auto frame = [window] {
        RECT rect;
        GetWindowRect(window, &rect);
        return rect;
    };
    const RECT eight = frame();
    enter(sheet, "txtExhaustValves", "1");
    enter(sheet, "txtCylinders", "8");
    const RECT all = frame();
    const RECT last = win32::areaOf(label(sheet, "lblValve24"));
    EXPECT_GT(win32::areaOf(textBox(sheet, "txtBuy")).top, last.bottom);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_LE(win32::areaOf(control<runtime::CommandButton>(sheet, "cmdClose")).bottom,
              client.bottom);
    EXPECT_EQ(all.right - all.left, eight.right - eight.left);
    EXPECT_EQ((all.bottom - all.top) - (eight.bottom - eight.top), px(16 * 300));
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi == 96) {
        EXPECT_LE(all.right - all.left, 1280);
        EXPECT_LE(all.bottom - all.top, 680);
    }
}

TEST_F(Win32Windows, CopyPutsExactlyTheTextOnTheClipboardAsUnicode) {
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    const std::string text = "25,4 \xc2\xb5m";
    textBox(conv, "txtData").setText(text);
    click(conv, "cmdCopy");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring copied(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, L"25,4 \u00b5m");
}

// The real box, found by a timer while it is up and closed with the given button.
struct SeenBox {
    std::wstring caption, text;
    bool windowsDisabled = false;
    bool found = false;
};

HWND findBox() {
    return FindWindowW(L"#32770", nullptr);
}

SeenBox* seen = nullptr;
int pressButton = IDOK;
HWND mainWindow = nullptr;

void CALLBACK closeBox(HWND /*hwnd*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/) {
    const HWND box = findBox();
    if (box == nullptr || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, timer);
    seen->found = true;
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    seen->caption = caption;
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    seen->text = text;
    seen->windowsDisabled = !IsWindowEnabled(mainWindow);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(pressButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, pressButton)));
}

TEST_F(Win32Windows, TheRealBoxIsTaskModalAndAnswersItsButton) {
    const runtime::MsgBoxPresenter scripted = runtime::setMsgBoxPresenter({});
    mainWindow = win32::createWindowIfMissing(*main);
    const std::tuple<MsgButtons, int, MsgAnswer> cases[] = {
        {MsgButtons::OKCancel, IDCANCEL, MsgAnswer::Cancel},
        {MsgButtons::OKCancel, IDOK, MsgAnswer::OK},
        {MsgButtons::OK, IDOK, MsgAnswer::OK},
        {MsgButtons::YesNoCancel, IDYES, MsgAnswer::Yes},
        {MsgButtons::YesNoCancel, IDNO, MsgAnswer::No},
        {MsgButtons::YesNoCancel, IDCANCEL, MsgAnswer::Cancel},
    };
    for (const auto& [buttons, press, answer] : cases) {
        SeenBox box;
        seen = &box;
        pressButton = press;
        SetTimer(nullptr, 0, 50, closeBox);
        std::optional<MsgAnswer> answered;
        runtime::msgBox("Are you sure you want to Exit program", buttons, MsgIcon::Information,
                        buttons == MsgButtons::OK ? std::nullopt : std::optional("EXIT Program"),
                        [&answered](MsgAnswer a) { answered = a; });
        EXPECT_EQ(answered, answer);
        EXPECT_TRUE(box.found);
        EXPECT_EQ(box.caption, buttons == MsgButtons::OK ? L"Clearmark" : L"EXIT Program");
        EXPECT_EQ(box.text, L"Are you sure you want to Exit program");
        EXPECT_TRUE(box.windowsDisabled) << "the program's windows took input during the box";
        EXPECT_TRUE(IsWindowEnabled(mainWindow));
    }
    runtime::setMsgBoxPresenter(scripted);
}

// The caret is where the user left it after the window was minimised and restored, and
// after another window was active in between.
TEST_F(Win32Windows, TheFocusComesBackAfterMinimiseAndAfterAnotherWindow) {
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    const HWND window = win32::createWindowIfMissing(conv);
    ASSERT_TRUE(tabTo(conv, "cmdReset"));
    ShowWindow(window, SW_MINIMIZE);
    win32::pumpMessages();
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    win32::pumpMessages();
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(focused(conv), "cmdReset");
    input().activate(*main);
    EXPECT_EQ(focused(conv), "");
    input().activate(conv);
    EXPECT_EQ(focused(conv), "cmdReset");
}

// Another program holds the clipboard open for as long as the copy tries: the converter says
// that nothing was copied and keeps its text; the clipboard keeps what it had.
TEST_F(Win32Windows, ACopyThatCannotHaveTheClipboardSaysSoAndKeepsTheText) {
    input().setClipboardText("earlier");
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    type(conv, "txtData", "25.4");
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const bool open = OpenClipboard(nullptr) != FALSE;
        SetEvent(held);
        WaitForSingleObject(release, 10000);
        if (open)
            CloseClipboard();
    });
    WaitForSingleObject(held, 10000);
    click(conv, "cmdCopy");
    SetEvent(release);
    holder.join();
    CloseHandle(held);
    CloseHandle(release);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0], expected::goodDataToCopy("25.4"));
    EXPECT_EQ(boxes.shown()[1], expected::kCopyFailed);
    ASSERT_EQ(forms().find<frmConvert>(), &conv);
    EXPECT_TRUE(conv.visible());
    EXPECT_EQ(textBox(conv, "txtData").text(), "25.4");
    EXPECT_EQ(input().clipboardText(), "earlier");
}

} // namespace
} // namespace clearmark
