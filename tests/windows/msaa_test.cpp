// DorvansClearmark.exe as a screen reader reads it from another process: each window's object
// (MSAA), its children in reading order with their roles, names and values.
//   msaa_test PATH\DorvansClearmark.exe
#include "outside_program.h"

#include <gtest/gtest.h>

#include <oleacc.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace {

using clearmark::testing_support::waitForWindow;

std::wstring program;

constexpr IID kAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

void press(HWND window, const wchar_t* caption) {
    const HWND button = FindWindowExW(window, nullptr, L"Button", caption);
    ASSERT_NE(button, nullptr) << "no button";
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// A menu's entry by keyboard, both counted from 0: Tools, then Help (the menu bar belongs to
// the program).
void chooseMenuEntry(HWND window, int menu, int position) {
    SetForegroundWindow(window);
    for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i)
        Sleep(20);
    ASSERT_EQ(GetForegroundWindow(), window);
    std::vector<WORD> keys{VK_F10};
    keys.insert(keys.end(), static_cast<std::size_t>(menu), VK_RIGHT);
    keys.push_back(VK_DOWN);
    keys.insert(keys.end(), static_cast<std::size_t>(position), VK_DOWN);
    keys.push_back(VK_RETURN);
    for (const WORD key : keys) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(100);
    }
}

template <typename T> class Ref {
public:
    Ref() = default;
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    Ref& operator=(Ref&&) = delete;
    ~Ref() {
        if (p_ != nullptr)
            p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** out() { return &p_; }
    void** untyped() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

std::wstring take(BSTR text) {
    std::wstring taken = text != nullptr ? text : L"";
    SysFreeString(text);
    return taken;
}

VARIANT childId(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// What a reader says of an element.
struct Said {
    long role = 0;
    std::wstring name;
    bool operator==(const Said&) const = default;
};

void PrintTo(const Said& said, std::ostream* out) {
    wchar_t role[64] = {};
    GetRoleTextW(static_cast<DWORD>(said.role), role, 64);
    *out << '(' << testing::PrintToString(std::wstring(role)) << ", "
         << testing::PrintToString(said.name) << ')';
}

// One child of a window's object: a control's own object, or a simple element of the window's.
struct Child {
    Ref<IAccessible> object;
    long id = CHILDID_SELF;

    std::wstring name() const {
        BSTR text = nullptr;
        object->get_accName(childId(id), &text);
        return take(text);
    }
    std::wstring value() const {
        BSTR text = nullptr;
        object->get_accValue(childId(id), &text);
        return take(text);
    }
    long role() const {
        VARIANT role;
        VariantInit(&role);
        object->get_accRole(childId(id), &role);
        return role.vt == VT_I4 ? role.lVal : 0;
    }
    Said said() const { return {role(), name()}; }
};

Ref<IAccessible> clientObject(HWND window) {
    Ref<IAccessible> object;
    EXPECT_HRESULT_SUCCEEDED(
        AccessibleObjectFromWindow(window, OBJID_CLIENT, kAccessibleIid, object.untyped()));
    return object;
}

// The window's children through AccessibleChildren, as a reader walks them.
std::vector<Child> childrenOf(HWND window) {
    std::vector<Child> children;
    const Ref<IAccessible> parent = clientObject(window);
    LONG count = 0;
    if (parent.get() == nullptr || FAILED(parent->get_accChildCount(&count)) || count <= 0)
        return children;
    std::vector<VARIANT> found(static_cast<std::size_t>(count));
    LONG obtained = 0;
    EXPECT_HRESULT_SUCCEEDED(AccessibleChildren(parent.get(), 0, count, found.data(), &obtained));
    EXPECT_EQ(obtained, count);
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& each = found[static_cast<std::size_t>(i)];
        Child& child = children.emplace_back();
        if (each.vt == VT_DISPATCH && each.pdispVal != nullptr) {
            each.pdispVal->QueryInterface(kAccessibleIid, child.object.untyped());
        } else if (each.vt == VT_I4) {
            parent->QueryInterface(kAccessibleIid, child.object.untyped());
            child.id = each.lVal;
        }
        VariantClear(&each);
        if (child.object.get() == nullptr)
            children.pop_back();
    }
    return children;
}

std::vector<Said> said(const std::vector<Child>& children) {
    std::vector<Said> all;
    for (const Child& child : children)
        all.push_back(child.said());
    return all;
}

const Child* childNamed(const std::vector<Child>& children, long role, const std::wstring& name) {
    for (const Child& child : children)
        if (child.role() == role && child.name() == name)
            return &child;
    return nullptr;
}

constexpr long kLabel = ROLE_SYSTEM_STATICTEXT;
constexpr long kText = ROLE_SYSTEM_TEXT;
constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr long kOption = ROLE_SYSTEM_RADIOBUTTON;
constexpr long kPicture = ROLE_SYSTEM_GRAPHIC;

// The main window in tab order, before a calculation shows its result's label.
const std::vector<Said> kMainWindow = {
    {kButton, L"Exit"},
    {kText, L"Measured Clearance Gap"},
    {kText, L"Original Shim Size"},
    {kText, L"Desired Gap Specification"},
    {kButton, L"Calculate"},
    {kButton, L"Reset"},
    {kLabel, L"Measured Clearance Gap"},
    {kLabel, L"Desired Gap Specification"},
    {kLabel, L"Original Shim Size"},
    {kText, L"New Shim Size (approx)"},
    {kButton, L"Converter"},
    {kButton, L"IN"},
    {kButton, L"EX"},
    {kLabel, L"Intake Average Spec"},
    {kLabel, L"Exhaust Average Spec"},
    {kLabel, L"Enter values in Millimeters or use the Converter"},
};

const std::vector<Said> kConverter = {
    {kText, L"Enter the measurement below, then check which method"},
    {kOption, L"MM to Inches"},
    {kOption, L"Inches to MM"},
    {kLabel, L"Enter the measurement below, then check which method"},
    {kButton, L"Copy to Clipboard  and exit"},
    {kButton, L"Reset"},
    {kButton, L"Convert"},
};

std::wstring helpText() {
    const std::pair<const wchar_t*, std::size_t> paragraphs[] = {
        {L"Enter the measured valve clearance (in Millimeters) in the Measured gap box.", 46},
        {L"Enter the measured Original shim width into the Original Shim box.", 84},
        {L"(These values may also be pasted from the converter)", 79},
        {L"Selecting either the Intake (0.175mm) or Exhaust (0.275mm) default buttons will enter "
         L"the default AVERAGE values for Triumph Bonneville, Bonneville America, T-100 or "
         L"Speedmaster specifications.",
         35},
        {L"This value can be changed for averages you wish or for other makes or models of "
         L"motorcycle valve shim calculations.",
         0},
    };
    std::wstring text;
    for (const auto& [paragraph, spaces] : paragraphs)
        text += paragraph + std::wstring(spaces, L' ');
    return text;
}

const std::vector<Said> kAbout = {
    {kButton, L"OK"},
    {kPicture, L"Clearmark"},
    {kButton, L"System Info..."},
    {kLabel, L"This program will determine which size shim you need in order to get the proper "
             L"valve clearance. You can use the default average of 0.175 for intake and 0.275 for "
             L"exhaust OR you can enter you own desired end gap This program may also be used for "
             L"other makes, but use at your own risk."},
    {kLabel, L"Warning: Use at your own risk! I accept no liability or fault for errors contained "
             L"or damage to any parts by use of this application. If you are not experienced "
             L"enough to do a valve shim replacement, do not attempt to do so. You have been "
             L"warned!"},
    {kLabel, L"Clearmark"},
    {kLabel, L"Version " CLEARMARK_VERSION},
};

// The valve sheet: its settings and rows by name, and the worked Triumph example planned.
void readValveSheet(HWND main) {
    chooseMenuEntry(main, 0, 0);
    const HWND sheet = waitForWindow(nullptr, L"Valve Sheet");
    ASSERT_NE(sheet, nullptr);
    const std::vector<Child> children = childrenOf(sheet);
    for (const Said& expected : std::vector<Said>{
             {kText, L"Cylinders"},
             {kText, L"Intake gap from"},
             {kText, L"Exhaust aim"},
             {kText, L"Spare shims"},
             {kOption, L"Inches"},
             {ROLE_SYSTEM_CHECKBUTTON, L"Leave valves in range alone"},
             {kText, L"Cylinder 2 exhaust 2 gap"},
             {kText, L"Cylinder 2 exhaust 2 new gap"},
             {kText, L"Left over"},
             {kButton, L"Plan"},
             {kText, L"Bike"},
             {kText, L"Date"},
             {kText, L"Odometer"},
             {kButton, L"Fitted"},
         })
        EXPECT_NE(childNamed(children, expected.role, expected.name), nullptr)
            << testing::PrintToString(expected);
    const auto put = [&](const std::wstring& name, const wchar_t* text) {
        const Child* box = childNamed(children, kText, name);
        ASSERT_NE(box, nullptr) << "no text box";
        HWND edit = nullptr;
        ASSERT_HRESULT_SUCCEEDED(WindowFromAccessibleObject(box->object.get(), &edit));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    };
    const wchar_t* const twin[][3] = {{L"Cylinder 1 intake 1", L"0.100", L"2.450"},
                                      {L"Cylinder 1 intake 2", L"0.180", L"2.500"},
                                      {L"Cylinder 1 exhaust 1", L"0.320", L"2.400"},
                                      {L"Cylinder 1 exhaust 2", L"0.240", L"2.550"},
                                      {L"Cylinder 2 intake 1", L"0.230", L"2.375"},
                                      {L"Cylinder 2 intake 2", L"0.150", L"2.600"},
                                      {L"Cylinder 2 exhaust 1", L"0.210", L"2.450"},
                                      {L"Cylinder 2 exhaust 2", L"0.280", L"2.425"}};
    // The rows follow a count set from outside (WM_SETTEXT from this process), as they follow
    // the user's typing.
    const auto rowShown = [&](const wchar_t* name) {
        const std::vector<Child> now = childrenOf(sheet);
        HWND edit = nullptr;
        const Child* box = childNamed(now, kText, name);
        return box != nullptr && SUCCEEDED(WindowFromAccessibleObject(box->object.get(), &edit)) &&
               IsWindowVisible(edit);
    };
    const auto within5s = [](const auto& holds) {
        for (int i = 0; i < 100 && !holds(); ++i)
            Sleep(50);
        return holds();
    };
    put(L"Cylinders", L"3");
    EXPECT_TRUE(within5s([&] { return rowShown(L"Cylinder 3 exhaust 2 gap"); }))
        << "the rows did not follow Cylinders set to 3";
    put(L"Cylinders", L"2");
    EXPECT_TRUE(within5s([&] { return !rowShown(L"Cylinder 3 exhaust 2 gap"); }))
        << "the rows did not follow Cylinders set back to 2";
    put(L"Spare shims", L"2.475");
    for (const auto& valve : twin) {
        put(std::wstring(valve[0]) + L" gap", valve[1]);
        put(std::wstring(valve[0]) + L" shim", valve[2]);
    }
    press(sheet, L"Plan");
    const auto valueOf = [&](const std::wstring& name) {
        const Child* box = childNamed(children, kText, name);
        return box != nullptr ? box->value() : L"(none)";
    };
    for (int i = 0; i < 100 && valueOf(L"Buy").empty(); ++i)
        Sleep(50);
    EXPECT_EQ(valueOf(L"Cylinder 1 intake 1 plan"), L"fit 2.375 from cylinder 2 intake 1");
    EXPECT_EQ(valueOf(L"Cylinder 1 exhaust 2 plan"), L"buy 2.525");
    EXPECT_EQ(valueOf(L"Cylinder 1 exhaust 2 new gap"), L"0.265");
    EXPECT_EQ(valueOf(L"Buy"), L"1 \u00d7 2.525");
    EXPECT_EQ(valueOf(L"Left over"), L"2.475, 2.550");
    // The title bar marks the job's unsaved changes as Windows does, with an asterisk first.
    wchar_t title[64] = L"";
    GetWindowTextW(sheet, title, 64);
    EXPECT_STREQ(title, L"*Valve Sheet");
    press(sheet, L"Close");
    const HWND question = waitForWindow(L"#32770", L"Valve Sheet");
    ASSERT_NE(question, nullptr) << "Close did not ask about the unsaved changes";
    EXPECT_NE(FindWindowExW(question, nullptr, L"Static", L"Save changes to Valve Sheet?"),
              nullptr);
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(sheet); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(sheet));
}

class Msaa : public testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr)); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(Msaa, ReadsEveryWindowFromAnotherProcess) {
    const clearmark::testing_support::StartedProgram started(program);
    ASSERT_NE(started.process(), nullptr) << "cannot start the program";

    const HWND main = waitForWindow(nullptr, L"Dorvan's Clearmark");
    ASSERT_NE(main, nullptr) << "the main window did not open";
    {
        const Child self{clientObject(main)};
        ASSERT_NE(self.object.get(), nullptr);
        EXPECT_EQ(self.role(), ROLE_SYSTEM_CLIENT);
        EXPECT_EQ(self.name(), L"Dorvan's Clearmark");
        // A control's child is its object, a label's none: the label is a simple element.
        Ref<IDispatch> exit;
        EXPECT_EQ(self.object->get_accChild(childId(1), exit.out()), S_OK);
        EXPECT_NE(exit.get(), nullptr);
        Ref<IDispatch> label;
        // 7: the first label, after six controls.
        EXPECT_EQ(self.object->get_accChild(childId(7), label.out()), S_FALSE);
        EXPECT_EQ(label.get(), nullptr);
    }
    std::vector<Child> children = childrenOf(main);
    EXPECT_EQ(said(children), kMainWindow);

    // A label is where it is drawn: hit testing its middle finds it.
    if (const Child* label = childNamed(children, kLabel, L"Measured Clearance Gap")) {
        LONG left = 0, top = 0, width = 0, height = 0;
        ASSERT_HRESULT_SUCCEEDED(
            label->object->accLocation(&left, &top, &width, &height, childId(label->id)));
        RECT client;
        GetClientRect(main, &client);
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
        EXPECT_GE(left, client.left);
        EXPECT_GE(top, client.top);
        EXPECT_GT(width, 0);
        VARIANT hit;
        VariantInit(&hit);
        EXPECT_HRESULT_SUCCEEDED(
            label->object->accHitTest(left + width / 2, top + height / 2, &hit));
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, label->id);
        VariantClear(&hit);
    } else {
        ADD_FAILURE() << "no label for the measured gap";
    }

    // Typed values show as the text boxes' values; a calculation shows the result's label.
    const auto typeInto = [&](const wchar_t* name, const wchar_t* text) {
        const Child* box = childNamed(children, kText, name);
        ASSERT_NE(box, nullptr) << "no text box";
        HWND edit = nullptr;
        ASSERT_HRESULT_SUCCEEDED(WindowFromAccessibleObject(box->object.get(), &edit));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(box->value(), text);
    };
    typeInto(L"Measured Clearance Gap", L"0.20");
    typeInto(L"Original Shim Size", L"2.45");
    EXPECT_EQ(childNamed(children, kLabel, L"New Shim Size (approx)"), nullptr);
    press(main, L"IN");
    press(main, L"Calculate");
    const HWND box = waitForWindow(
        L"#32770", L"Please Adjust your new shim size as follows (for Triumph Motorcycles):");
    ASSERT_NE(box, nullptr) << "no box for the new shim";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    children = childrenOf(main);
    EXPECT_NE(childNamed(children, kLabel, L"New Shim Size (approx)"), nullptr);
    if (const Child* result = childNamed(children, kText, L"New Shim Size (approx)"))
        EXPECT_EQ(result->value(), L"2.475");
    else
        ADD_FAILURE() << "no text box for the new shim";

    press(main, L"Converter");
    const HWND converter = waitForWindow(nullptr, L"Conversion Form");
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(said(childrenOf(converter)), kConverter);

    chooseMenuEntry(main, 1, 1);
    const HWND help = waitForWindow(nullptr, L"How To Use Calculator");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(said(childrenOf(help)), (std::vector<Said>{{kLabel, helpText()}}));

    // A reader holding a window's object after the window has gone: its calls fail.
    {
        const Ref<IAccessible> held = clientObject(help);
        PostMessageW(help, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && IsWindow(help); ++i)
            Sleep(50);
        ASSERT_FALSE(IsWindow(help));
        LONG count = 0;
        EXPECT_EQ(held->get_accChildCount(&count), RPC_E_DISCONNECTED);
    }

    chooseMenuEntry(main, 1, 0);
    const HWND about = waitForWindow(nullptr, L"About Clearmark");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(said(childrenOf(about)), kAbout);

    readValveSheet(main);

    press(main, L"Exit");
    const HWND exitBox = waitForWindow(L"#32770", L"EXIT Program");
    ASSERT_NE(exitBox, nullptr);
    PostMessageW(exitBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(started.process(), 10000), WAIT_OBJECT_0);
    DWORD status = 1;
    GetExitCodeProcess(started.process(), &status);
    EXPECT_EQ(status, 0u);
}

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: msaa_test PATH\\DorvansClearmark.exe\n");
        return 2;
    }
    const std::string path = argv[1];
    program.assign(path.begin(), path.end());
    return RUN_ALL_TESTS();
}
