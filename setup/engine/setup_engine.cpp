#include "setup_engine.h"

#include "../script/text.h"

namespace setup {

SetupEngine::SetupEngine() : m_installDir("C:\\") {}

SetupEngine::~SetupEngine() = default;

void SetupEngine::SetInstallDir(const char* directory) {
    if (directory) m_installDir = FitBuffer(directory, kPathBufferSize);
}

void SetupEngine::SetComPort(std::int16_t value) {
    m_comPortChosen = 1;
    m_comPort = value;
}

void SetupEngine::AddSelection(std::uint16_t item, const char* value) {
    m_selectionItems.push_back(item);
    m_selectionValues.push_back(value ? value : "");
}

int SetupEngine::GetSelectionCount() const { return static_cast<int>(m_selectionValues.size()); }

std::uint16_t SetupEngine::GetSelectionItem(int index) const {
    if (index < 0 || index >= static_cast<int>(m_selectionItems.size())) return 0;
    return m_selectionItems[static_cast<std::size_t>(index)];
}


}  // namespace setup
