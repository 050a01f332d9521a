#include "application.h"
#include "dialog.h"
#include "handles.h"
#include "window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

namespace {

// Removes a quit message left by a window that posted one, so that later message loops
// of the same test program still run.
void DrainQueue() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) ::DispatchMessageA(&message);
    }
}

class TestApp : public fw::Application {
public:
    std::function<bool(TestApp&)> start;

protected:
    bool InitInstance() override { return start ? start(*this) : false; }
};

TEST(Handles, OwnersReleaseGdiObjects) {
    // Each owner kind: the object exists while owned and is gone afterwards.
    HGDIOBJ handle = nullptr;
    {
        fw::Bitmap bitmap(::CreateBitmap(4, 4, 1, 32, nullptr));
        handle = bitmap.Get();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
    {
        fw::Brush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        handle = brush.Get();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
    {
        fw::Pen pen(::CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        handle = pen.Get();
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
    {
        fw::Font font(::CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
        handle = font.Get();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
    {
        LOGPALETTE palette{0x300, 1, {{1, 2, 3, 0}}};
        fw::Palette owned(::CreatePalette(&palette));
        handle = owned.Get();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_PAL));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
    {
        fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
        handle = dc.Get();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
}

TEST(Handles, OwnersReleaseKernelObjectsAndMemory) {
    HANDLE event = nullptr;
    {
        fw::KernelHandle owned(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        event = owned.Get();
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(event, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(event, &flags));

    HGLOBAL memory = nullptr;
    {
        fw::GlobalMemory owned(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64));
        memory = owned.Get();
        fw::GlobalLockGuard lock(memory);
        ASSERT_NE(lock.Data(), nullptr);
        EXPECT_EQ(::GlobalFlags(memory) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(memory), static_cast<UINT>(GMEM_INVALID_HANDLE));

    HKEY key = nullptr;
    {
        fw::RegistryKey owned;
        HKEY opened = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
        owned.Reset(opened);
        key = owned.Get();
        EXPECT_EQ(::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_NE(::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(Handles, MoveTransfersOwnershipAndResetReleasesTheOld) {
    fw::Bitmap first(::CreateBitmap(2, 2, 1, 32, nullptr));
    HGDIOBJ firstHandle = first.Get();
    fw::Bitmap second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), firstHandle);

    fw::Bitmap third(::CreateBitmap(2, 2, 1, 32, nullptr));
    HGDIOBJ thirdHandle = third.Get();
    third = std::move(second);  // the bitmap third held is released
    EXPECT_EQ(::GetObjectType(thirdHandle), 0u);
    EXPECT_EQ(third.Get(), firstHandle);

    HBITMAP released = third.Release();
    EXPECT_FALSE(third);
    EXPECT_EQ(::GetObjectType(released), static_cast<DWORD>(OBJ_BITMAP));
    ::DeleteObject(released);
}

TEST(Handles, SelectionGuardsPutThePreviousObjectBack) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    fw::Bitmap bitmap(::CreateBitmap(8, 8, 1, 1, nullptr));
    {
        fw::SelectGuard guard(dc.Get(), bitmap.Get());
        EXPECT_TRUE(guard.Selected());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    fw::SelectGuard none(dc.Get(), nullptr);
    EXPECT_FALSE(none.Selected());

    HPALETTE stock = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
    LOGPALETTE entries{0x300, 1, {{9, 8, 7, 0}}};
    fw::Palette palette(::CreatePalette(&entries));
    {
        fw::PaletteGuard guard(dc.Get(), palette.Get(), FALSE);
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PAL), palette.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_PAL), stock);
}

// A frame whose message table records what reached it.
class RecordingFrame : public fw::FrameWindow {
public:
    std::vector<UINT> seen;
    LRESULT createResult = 0;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return fw::DispatchTable(*this, kTable, message, wParam, lParam, result) ||
               fw::FrameWindow::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) {
        seen.push_back(WM_CREATE);
        if (fw::FrameWindow::OnCreate(wParam, lParam) == -1) return -1;
        return createResult;
    }
    LRESULT OnAnswer(WPARAM, LPARAM) {
        seen.push_back(WM_USER + 1);
        return 42;
    }
    LRESULT OnSeven(WPARAM, LPARAM) {
        seen.push_back(7);
        return 0;
    }

    static const fw::MessageEntry<RecordingFrame> kTable[3];
};

const fw::MessageEntry<RecordingFrame> RecordingFrame::kTable[3] = {
    fw::OnMessage(WM_CREATE, &RecordingFrame::OnCreate),
    fw::OnMessage(WM_USER + 1, &RecordingFrame::OnAnswer),
    fw::OnCommand(7, &RecordingFrame::OnSeven),
};

TEST(FrameWindow, MessageTableRoutesMessagesAndCommands) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, "Recording", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr, 0));
    HWND hwnd = frame.Handle();
    char className[64] = {};
    ::GetClassNameA(hwnd, className, sizeof className);
    EXPECT_STREQ(className, fw::FrameWindow::kDefaultClassName);

    EXPECT_EQ(::SendMessageA(hwnd, WM_USER + 1, 0, 0), 42);
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);
    EXPECT_EQ(::SendMessageA(hwnd, WM_USER + 2, 0, 0), 0);  // default processing
    EXPECT_EQ(frame.seen, (std::vector<UINT>{WM_CREATE, WM_USER + 1, 7}));

    ::DestroyWindow(hwnd);
    EXPECT_EQ(frame.Handle(), nullptr);
}

TEST(FrameWindow, FailedCreateAndDestructionWithAWindow) {
    RecordingFrame failing;
    failing.createResult = -1;
    EXPECT_FALSE(failing.Create(nullptr, "Failing", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr, 0));
    EXPECT_EQ(failing.Handle(), nullptr);

    HWND left = nullptr;
    {
        RecordingFrame frame;
        ASSERT_TRUE(frame.Create(nullptr, "Left", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr, 0));
        left = frame.Handle();
    }
    EXPECT_FALSE(::IsWindow(left));  // the object took its window with it
}

// A dialog that ends itself from a posted command, so that DoModal's loop runs for real.
class PostingDialog : public fw::Dialog {
public:
    explicit PostingDialog(WPARAM command) : fw::Dialog(300, nullptr), m_command(command) {}
    std::string label;

protected:
    bool OnInitDialog() override {
        label = GetItemText(1012);
        ::PostMessageA(m_hwnd, WM_COMMAND, m_command, 0);
        return true;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return fw::DispatchTable(*this, kTable, message, wParam, lParam, result) ||
               fw::Dialog::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnCustom(WPARAM, LPARAM) {
        EndDialog(77);
        return 0;
    }

    WPARAM m_command;
    static const fw::MessageEntry<PostingDialog> kTable[1];
};

const fw::MessageEntry<PostingDialog> PostingDialog::kTable[1] = {
    fw::OnCommand(1000, &PostingDialog::OnCustom),
};

TEST(Dialog, ModalRunsEndWithTheirCodes) {
    struct Case {
        WPARAM command;
        INT_PTR result;
    };
    for (Case c : {Case{MAKEWPARAM(IDOK, BN_CLICKED), IDOK}, Case{MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
                   Case{MAKEWPARAM(1000, BN_CLICKED), 77}}) {
        PostingDialog dialog(c.command);
        EXPECT_EQ(dialog.DoModal(), c.result) << LOWORD(c.command);
        EXPECT_EQ(dialog.label, "Label");
        EXPECT_EQ(dialog.Handle(), nullptr);
    }
}

TEST(Dialog, MissingTemplateFails) {
    class Missing : public fw::Dialog {
    public:
        Missing() : fw::Dialog(9999, nullptr) {}
    } dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(Application, CurrentStartFailureAndQuitCode) {
    EXPECT_EQ(fw::Application::Current(), nullptr);
    {
        TestApp app;
        EXPECT_EQ(fw::Application::Current(), &app);
        app.start = [](TestApp&) { return false; };
        EXPECT_EQ(app.Main(::GetModuleHandleA(nullptr)), 0);

        app.start = [](TestApp&) {
            ::PostQuitMessage(18);
            return true;
        };
        EXPECT_EQ(app.Main(::GetModuleHandleA(nullptr)), 18);
        EXPECT_FALSE(app.ModulePath().empty());
    }
    EXPECT_EQ(fw::Application::Current(), nullptr);
    DrainQueue();
}

TEST(Application, WaitCursorNests) {
    TestApp app;
    EXPECT_FALSE(app.WaitCursorShown());
    {
        fw::WaitCursor outer;
        app.BeginWaitCursor();
        EXPECT_TRUE(app.WaitCursorShown());
        app.EndWaitCursor();
        EXPECT_TRUE(app.WaitCursorShown());
    }
    EXPECT_FALSE(app.WaitCursorShown());
    app.EndWaitCursor();  // unmatched: no effect
    EXPECT_FALSE(app.WaitCursorShown());
}

}  // namespace

namespace {

TEST(Handles, LiveGdiObjectsCountsWhatOwnersHold) {
    const long before = fw::LiveGdiObjects();
    {
        fw::Bitmap first(::CreateBitmap(2, 2, 1, 32, nullptr));
        fw::Brush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_EQ(fw::LiveGdiObjects(), before + 2);
        fw::Bitmap moved(std::move(first));
        EXPECT_EQ(fw::LiveGdiObjects(), before + 2) << "a move transfers, it does not count";
        fw::Bitmap assigned(::CreateBitmap(2, 2, 1, 32, nullptr));
        assigned = std::move(moved);  // the bitmap assigned held is deleted
        EXPECT_EQ(fw::LiveGdiObjects(), before + 2);
        HBITMAP given = assigned.Release();
        EXPECT_EQ(fw::LiveGdiObjects(), before + 1);
        ::DeleteObject(given);
        fw::KernelHandle notGdi(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(fw::LiveGdiObjects(), before + 1);
    }
    EXPECT_EQ(fw::LiveGdiObjects(), before);
}

}  // namespace
