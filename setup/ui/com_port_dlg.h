// The communication-port question: which serial port the product is to use.
#pragma once

#include "choices.h"
#include "setup_dlg.h"

class CComPortDlg : public CSetupDlg {
public:
    static constexpr UINT kTemplateId = 135;

    explicit CComPortDlg(CMainFrame* parent) noexcept;

    // Reads [ComPort]; false when the script asks no such question.
    bool Load();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    static const fw::MessageEntry<CComPortDlg> kMessageTable[1];

    CMainFrame* m_frame;
    setup::PortQuestion m_question;
    unsigned m_iconPhase = 0;
    ResourceIcon m_icon;
};
