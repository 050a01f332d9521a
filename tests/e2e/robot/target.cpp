// A program for testing the robot (and the framework's dialogs across processes): one
// dialog whose result tells what the robot did to it. Exit code on OK: 100 + 10 x the
// list box's selection + the combo box's selection when the edit holds "hello", else 1;
// 2 on Cancel, Escape or Close; 50 + n when the list box notified n selection changes
// and OK followed without "hello".
#include "application.h"
#include "dialog.h"

#include <windows.h>

namespace {

class TargetDialog : public fw::Dialog {
public:
    TargetDialog() : fw::Dialog(200, nullptr) {}

    int m_listChanges = 0;

protected:
    bool OnInitDialog() override {
        for (const char* item : {"first", "second", "third"}) {
            ::SendDlgItemMessageA(m_hwnd, 101, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            ::SendDlgItemMessageA(m_hwnd, 102, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        return true;
    }

    void OnOK() override {
        if (GetItemText(100) != "hello") {
            EndDialog(m_listChanges ? 50 + m_listChanges : 1);
            return;
        }
        LRESULT list = ::SendDlgItemMessageA(m_hwnd, 101, LB_GETCURSEL, 0, 0);
        LRESULT combo = ::SendDlgItemMessageA(m_hwnd, 102, CB_GETCURSEL, 0, 0);
        EndDialog(100 + 10 * list + combo);
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return fw::DispatchTable(*this, kTable, message, wParam, lParam, result) ||
               fw::Dialog::OnMessage(message, wParam, lParam, result);
    }

private:
    LRESULT OnList(WPARAM wParam, LPARAM) {
        if (HIWORD(wParam) == LBN_SELCHANGE) ++m_listChanges;
        return 0;
    }

    static const fw::MessageEntry<TargetDialog> kTable[1];
};

const fw::MessageEntry<TargetDialog> TargetDialog::kTable[1] = {
    fw::OnCommand(101, &TargetDialog::OnList),
};

class TargetApp : public fw::Application {
public:
    int m_result = 0;

protected:
    bool InitInstance() override {
        TargetDialog dialog;
        m_result = static_cast<int>(dialog.DoModal());
        return false;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    TargetApp app;
    app.Main(instance);
    return app.m_result;
}
