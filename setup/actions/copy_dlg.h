// The copy dialog: where each file comes from and goes to, a progress bar with an icon
// that slides along it, and Cancel. The copy itself runs in its first timer tick.
#pragma once

#include "../../framework/handles.h"
#include "../ui/setup_dlg.h"
#include "copy_list.h"

#include <cstdint>

class CCopyDlg : public CSetupDlg, public setup::CopyProgress {
public:
    static constexpr UINT kTemplateId = 142;

    // engine: the installation that the copy is part of; its script gives the texts.
    CCopyDlg(fw::Window* parent, setup::SetupEngine& engine) noexcept;
    ~CCopyDlg() override;

    void SetCopyParameters(const setup::CopyParameters& parameters, std::uint32_t totalEntries);

    // What the copy walk does between files.
    void ShowCopyPaths(const std::string& name, const std::string& source, const std::string& destination) override;
    void StepProgress() override;
    void DrainMessages() override;
    bool Cancelled() const override { return m_cancelled != 0; }

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    void MoveIconAlongTheBar();

    static const fw::MessageEntry<CCopyDlg> kMessageTable[2];

    setup::SetupEngine& m_engine;
    setup::CopyParameters m_parameters;
    std::uint32_t m_total = 0;
    std::uint32_t m_progress = 0;
    unsigned m_iconFrame = 0;
    int m_cancelled = 0;
    DWORD m_lastPaint = 0;
    fw::Icon m_frames[4];  // the animation's frames, loaded when first shown
};
