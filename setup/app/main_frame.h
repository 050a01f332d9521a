// The installer's only top-level window: covers the screen with the background, loads
// the setup script when created, runs the installation from its first timer tick and
// ends the program when destroyed. It owns all installation state.
#pragma once

#include "../../framework/handles.h"
#include "../../framework/window.h"
#include "../engine/setup_engine.h"
#include "../unattended/unattended.h"
#include "../uninstall/undo_record.h"

#include <windows.h>

#include <memory>
#include <string>

class CMainFrame : public fw::FrameWindow, public setup::SetupEngine {
public:
    // The one timer of the main window: the first tick starts the installation.
    static constexpr UINT_PTR kStartTimer = 1000;
    static constexpr UINT kStartDelayMs = 500;
    // Exit code of every run that got as far as showing the window.
    static constexpr int kExitCode = setup::exit_code::kInteractive;

    CMainFrame();
    ~CMainFrame() override;

    // A run started with switches: its log, answers and rules. Set before the window is
    // created; without it the run is the person's at the screen, as it always was.
    void SetUnattendedRun(std::unique_ptr<UnattendedRun> run) { m_run = std::move(run); }
    // The exit code of a run whose window could not be created.
    int StartFailureCode() const { return m_run ? m_run->ExitCode() : 0; }

    // Reads the setup script named by the application into the line array:
    // 0 loaded; 2 missing, unreadable size or empty; 3 read failed; 4 no memory.
    int LoadScript();

    // Reads a bitmap file into a device-dependent bitmap; its palette goes to *palette when
    // the caller asks for it. False when the file is missing or not a whole picture.
    bool LoadDibFile(const char* path, fw::Bitmap& bitmap, fw::Palette* palette);
    // The same picture stretched over the whole screen.
    bool LoadStretchedBitmap(const char* path, fw::Bitmap& bitmap, fw::Palette* palette);
    // Copies source, from its origin, into the rectangle of destination.
    void DrawBitmapAt(HBITMAP destination, HBITMAP source, int left, int top, int right, int bottom);

    // Makes the background bitmap (the script's picture, or the painted gradient) and its
    // clean copy for the window to show.
    bool BuildBackground();
    // Shows a picture file over the whole screen (position 0) or in a corner (1 top left,
    // 2 top right, 3 bottom left, 4 bottom right), deletes the file and pauses; a picture
    // that cannot be read is skipped and its file kept.
    void ShowBillboard(int position, const char* directory, const char* name) override;
    // Brings back the clean background.
    void RemoveBillboard() override;
    // How long a billboard stays before the installation goes on (1000 ms).
    void SetBillboardPause(DWORD milliseconds) { m_billboardPauseMs = milliseconds; }
    // Paints the gradient and the product titles into a new screen-sized bitmap.
    bool PaintGradientBackground();
    void DrawProductTitles(HDC dc);
    // A new bitmap with the same size and content, or an empty owner.
    fw::Bitmap CopyBitmap(HBITMAP source);

    int ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                          const char* caption3, const char* section, int style) override;

    std::optional<int> ShowPortDialog(const setup::PortQuestion& question) override;
    std::optional<int> ShowSelectDialog(const setup::SelectQuestion& question) override;
    std::optional<std::string> ShowSetDirDialog() override;
    bool RunCopyDialog() override;

    std::string SystemDirectory() const override;
    std::string WindowsDirectory() const override;
    bool EnsureDirectory(const std::string& path) override;
    std::optional<std::uint64_t> FreeDiskSpace(const std::string& root) override;
    bool FileExists(const std::string& path) override;
    std::optional<setup::LocalTime> GetFileLocalTime(const std::string& path) override;
    std::uint32_t InstallFile(const std::string& sourceName, const std::string& destName,
                              const std::string& sourceDir, const std::string& destDir) override;
    void WriteProfileValue(const char* section, const char* key, const char* value, const char* file) override;
    bool DirectoryExists(const std::string& path) override;
    bool CopyFileAside(const std::string& from, const std::string& to) override;
    bool DeletePath(const std::string& path) override;
    void OfferPendingRollback() override;
    std::optional<setup::FileFacts> GetFileFacts(const std::string& path) override;
    std::optional<std::string> FileDigest(const std::string& path) override;
    std::optional<std::uint32_t> StatedLength(const std::string& path) override;
    bool FileHeldOpen(const std::string& path) override;
    bool MovePath(const std::string& from, const std::string& to) override;
    void ProtectOwnFile(const std::string& path) override;
    bool RecordFailed() override { return m_undoWriter && m_undoWriter->Failed(); }
    void RetryRecord() override {
        if (m_undoWriter) m_undoWriter->Retry();
    }
    std::optional<std::string> ReadProfileValue(const char* section, const char* key, const char* file) override;
    bool RegistryKeyExists(setup::RegistryRoot root, const std::string& subKey) override;
    bool ProfileSectionExists(const char* section, const char* file) override;
    std::string GetProfileLine(const char* key) override;
    void WriteProfileLine(const char* key, const std::string& line) override;
    std::unique_ptr<setup::ProgramManager> ConnectProgramManager() override;
    std::unique_ptr<setup::RegistryKey> OpenRegistryKey(setup::RegistryRoot root, const std::string& subKey,
                                                        const char* keyClass) override;
    bool RequestExitWindows(unsigned flags, unsigned reserved) override;
    bool IsNtFamily() override;
    bool EnableShutdownPrivilege() override;
    bool StartProgram(const std::string& commandLine) override;

    // True once the program manager has been asked for something: the shell may open
    // windows for it by itself afterwards.
    bool ShellAsked() const { return m_shellAsked; }

    HBITMAP BackgroundBitmap() const { return m_hBackground.Get(); }
    HBITMAP CleanBackgroundBitmap() const { return m_hCleanBackground.Get(); }
    HPALETTE BackgroundPalette() const { return m_hPalette.Get(); }
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }

protected:
    void PreCreateWindow(CREATESTRUCTA& create) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    // Redraws the whole window from m_hBackground at once.
    void Repaint();
    // Undoes the installation just run when it keeps a rollback and stopped half way.
    void RollBackStopped();

    static const fw::MessageEntry<CMainFrame> kMessageTable[5];

    // The version library, loaded from the system directory (never the program's folder).
    fw::Library m_versionLibrary;
    int m_screenWidth;
    int m_screenHeight;
    fw::Bitmap m_hCleanBackground;  // the background as first built, under every billboard
    fw::Bitmap m_hBackground;       // what the window shows
    fw::Palette m_hPalette;         // the background picture's palette, if it has one
    DWORD m_billboardPauseMs = 1000;
    std::unique_ptr<UnattendedRun> m_run;
    // The undo record of a script that keeps one.
    std::unique_ptr<setup::RecordSink> m_recordFile;
    std::unique_ptr<setup::UndoWriter> m_undoWriter;
    int m_exitCode = kExitCode;
    bool m_shellAsked = false;
};
