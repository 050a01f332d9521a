#include "engine/set_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

TEST(DestinationRule, TypedDirectories) {
    struct Case {
        std::string typed;
        std::optional<std::string> stored;
    };
    const Case cases[] = {
        {"d:\\apps", std::string("D:\\apps\\")},
        {"D:\\", std::string("D:\\")},
        {"1:\\x", std::string("1:\\x\\")},
        {"c:\\Program Files\\Acme\\", std::string("C:\\Program Files\\Acme\\")},
        {"apps", std::nullopt},
        {"d:apps", std::nullopt},
        {"", std::nullopt},
        {"d:", std::nullopt},
        {"C:\\" + std::string(252, 'x'), std::nullopt},                         // 255 + backslash = 256
        {"C:\\" + std::string(251, 'x'), "C:\\" + std::string(251, 'x') + "\\"},  // exactly 255
        {"C:\\" + std::string(252, 'x') + "\\", std::nullopt},                  // typed with its backslash: 256
        {"C:\\" + std::string(251, 'x') + "\\", "C:\\" + std::string(251, 'x') + "\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeInstallDir(c.typed), c.stored) << c.typed;
}

class Script : public SetupScript {
public:
    explicit Script(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

TEST(DestinationText, ScriptLinesOrTheDefault) {
    EXPECT_EQ(ComposeSetDirText(Script("[SetDir Message]\r\nLine 1=Where?\r\nLine 2=Pick one.\r\n")), "Where?\nPick one.");
    EXPECT_EQ(ComposeSetDirText(Script("[SetDir Message]\r\nLine 1=A\r\nLine 2=NULL\r\nLine 3=B\r\nLine 5=C\r\n")),
              "A\n\nB");
    EXPECT_EQ(ComposeSetDirText(Script("[Initiation]\r\nInstall Name=Acme\r\n[Button Text]\r\nOK=Go\r\n")),
              "Installing Acme Application.\n\nInstallation will install Acme into the following directory which "
              "will be created on your hard disk.\n\nIf you want to install the program in a different directory "
              "and/or drive, type the name of the directory.\n\nClick Go to begin the installation.");
    const std::string fallback = ComposeSetDirText(Script("[Background]\r\nProduct Name=Viewer\r\n"));
    EXPECT_EQ(fallback.rfind("Installing Viewer Application.", 0), 0u);
    EXPECT_NE(fallback.find("Click OK to begin"), std::string::npos);
}

}  // namespace
}  // namespace setup
