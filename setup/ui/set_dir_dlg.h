// The destination dialog: where to install, with a text, a label, the directory field
// preset from the script, and an icon that blinks.
#pragma once

#include "setup_dlg.h"

#include <string>

class CSetDirDlg : public CSetupDlg {
public:
    static constexpr UINT kTemplateId = 138;

    CSetDirDlg(fw::Window* parent, const setup::SetupScript& script) noexcept;
    ~CSetDirDlg() override;

    // The directory as stored ("C:\\APP\\"), once the dialog ended with OK.
    const std::string& Chosen() const { return m_directory; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void GrowForText(const std::string& text);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    static const fw::MessageEntry<CSetDirDlg> kMessageTable[1];

    std::string m_directory;
    unsigned m_frameNumber = 0;
    ResourceIcon m_icon;
};
