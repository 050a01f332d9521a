#include "main_frame.h"

#include "../../framework/application.h"
#include "../uninstall/removal.h"
#include "setup_app.h"

const fw::MessageEntry<CMainFrame> CMainFrame::kMessageTable[5] = {
    fw::OnMessage(WM_CREATE, &CMainFrame::OnCreate),
    fw::OnMessage(WM_DESTROY, &CMainFrame::OnDestroy),
    fw::OnMessage(WM_PAINT, &CMainFrame::OnPaint),
    fw::OnMessage(WM_TIMER, &CMainFrame::OnTimer),
    fw::OnMessage(WM_ERASEBKGND, &CMainFrame::OnEraseBkgnd),
};

CMainFrame::CMainFrame()
    : m_screenWidth(::GetSystemMetrics(SM_CXSCREEN)),
      m_screenHeight(::GetSystemMetrics(SM_CYSCREEN)) {}

CMainFrame::~CMainFrame() = default;

void CMainFrame::PreCreateWindow(CREATESTRUCTA& create) {
    fw::FrameWindow::PreCreateWindow(create);
    create.dwExStyle = 0;
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return fw::DispatchTable(*this, kMessageTable, message, wParam, lParam, result) ||
           fw::FrameWindow::OnMessage(message, wParam, lParam, result);
}

LRESULT CMainFrame::OnCreate(WPARAM wParam, LPARAM lParam) {
    if (fw::FrameWindow::OnCreate(wParam, lParam) == -1) return -1;
    fw::WaitCursor wait;
    if (LoadScript() != 0) {
        if (m_run) m_run->Fail("the setup script cannot be read", setup::exit_code::kStopped);
        return -1;
    }
    // The answer file is checked against the script before anything is changed.
    if (m_run && !m_run->Attach(*this)) return -1;
    if (m_run && m_run->Quiet()) SetBillboardPause(0);  // nobody looks at the slides
    // A script that keeps an undo record has it written as the installation goes.
    if (KeepsUndoRecord() && !(m_run && m_run->Uninstalling())) {
        if (CSetupApp* app = GetSetupApp()) SetProgramFiles(app->ModulePath(), app->m_scriptPath);
        m_recordFile = std::make_unique<RecordFile>();
        m_undoWriter = std::make_unique<setup::UndoWriter>(*this, *m_recordFile);
        GetJournal().AddWriter(*m_undoWriter);
    }
    if (!BuildBackground()) {
        if (m_run) m_run->Fail("the background picture cannot be made", setup::exit_code::kStopped);
        return -1;
    }

    // A quiet run's window is never shown: it is there for the single-instance rule and as
    // the owner that the dialogs would have.
    const bool shown = !m_run || !m_run->Quiet();
    ::SetWindowPos(m_hwnd, HWND_TOP, 0, 0, m_screenWidth, m_screenHeight, shown ? SWP_SHOWWINDOW : SWP_NOACTIVATE);
    fw::Application* app = fw::Application::Current();
    HICON icon = ::LoadIconA(app ? app->Instance() : nullptr, MAKEINTRESOURCEA(128));
    ::SetClassLongPtrA(m_hwnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    // No timer procedure: the tick arrives here as WM_TIMER.
    ::SetTimer(m_hwnd, kStartTimer, kStartDelayMs, nullptr);
    return 0;
}

LRESULT CMainFrame::OnTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == kStartTimer) {
        // Killed first: the installation's modal dialogs run message loops that would
        // otherwise deliver further ticks and start it again.
        ::KillTimer(m_hwnd, kStartTimer);
        if (m_run && m_run->Uninstalling()) {
            LeaveCurrentDirectory();
            Win32UndoMachine machine;
            RunUninstall(machine, m_run->RecordPath());
        } else {
            RunSetup();
            RollBackStopped();
        }
        if (m_run) m_exitCode = m_run->Finish(*this);
        ::PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    }
    return DefaultProc(WM_TIMER, wParam, lParam);
}

// An installation that keeps a rollback and stopped before it completed is undone now.
void CMainFrame::RollBackStopped() {
    if (!m_undoWriter || !m_undoWriter->Opened() || LastRunEnd() != setup::RunEnd::kStopped || !KeepsRollback()) return;
    m_undoWriter->Close();
    Win32UndoMachine machine;
    RollBack(machine, UndoRecordPath(), false);
}

void CMainFrame::OfferPendingRollback() {
    if (!KeepsRollback()) return;
    Win32UndoMachine machine;
    RollBack(machine, UndoRecordPath(), true);
}

LRESULT CMainFrame::OnDestroy(WPARAM wParam, LPARAM lParam) {
    fw::FrameWindow::OnDestroy(wParam, lParam);
    ::KillTimer(m_hwnd, kStartTimer);
    ClearScript();
    m_hCleanBackground.Reset();
    m_hBackground.Reset();
    m_hPalette.Reset();
    m_selectionValues.clear();
    m_selectionItems.clear();
    ::PostQuitMessage(m_exitCode);
    return 0;
}

LRESULT CMainFrame::OnPaint(WPARAM, LPARAM) {
    fw::PaintDc paint(m_hwnd);
    fw::PaletteGuard palette(paint.Get(), m_hPalette.Get(), FALSE);
    if (palette.Selected()) ::RealizePalette(paint.Get());
    fw::MemoryDc memory(::CreateCompatibleDC(paint.Get()));
    if (!memory || !m_hBackground) return 0;
    fw::SelectGuard bitmap(memory.Get(), m_hBackground.Get());
    // The whole window every time, whatever the update region.
    ::BitBlt(paint.Get(), 0, 0, m_screenWidth, m_screenHeight, memory.Get(), 0, 0, SRCCOPY);
    return 0;
}

std::string CMainFrame::SystemDirectory() const {
    char directory[setup::kPathBufferSize] = {};
    UINT length = ::GetSystemDirectoryA(directory, sizeof directory);
    return length < sizeof directory ? std::string(directory, length) : std::string();
}

std::string CMainFrame::WindowsDirectory() const {
    char directory[setup::kPathBufferSize] = {};
    UINT length = ::GetWindowsDirectoryA(directory, sizeof directory);
    return length < sizeof directory ? std::string(directory, length) : std::string();
}

LRESULT CMainFrame::OnEraseBkgnd(WPARAM, LPARAM) {
    // WM_PAINT covers every pixel; erasing first would only flicker.
    return 1;
}
