#include "fake_engine.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace setup {
namespace {

using Values = std::map<std::string, std::string>;

std::unique_ptr<FakeMachine> Engine(const std::string& sections) {
    auto engine = std::make_unique<FakeMachine>("[Initiation]\r\nInstall Name=Acme\r\nSubDir 1=DATA\r\n" + sections);
    engine->SetInstallDir("C:\\ACME\\");
    return engine;
}

TEST(Register, KeysAndValues) {
    auto engine = Engine(
        "[Register]\r\n"
        "Key 1=HKEY_LOCAL_MACHINE\r\nSubKey 1=Software\\Acme\r\nKey Class 1=NULL\r\n"
        "Name 1.1=Path\r\nData 1.1=ACME.EXE:0\r\n"
        "Name 1.2=NULL\r\nData 1.2=default value\r\n"
        "Name 1.3=Empty\r\nData 1.3=NULL\r\n"
        "Name 1.4=null\r\nData 1.4=Null\r\n"
        "Name 1.5=Data Dir\r\nData 1.5=FILES:1\r\n"
        "Name 1.6=Bad\r\nData 1.6=X:9\r\n"
        "Name 1.7=Never\r\nData 1.7=never\r\n"
        "Key 2=hkey_current_user\r\nSubKey 2=Software\\Acme\\Options\r\nKey Class 2=AcmeClass\r\n"
        "Name 2.1=Color\r\nData 2.1=blue\r\n"
        "Key 3=HKEY_LOCAL_MACHINE\r\nSubKey 3=Software\\Lost\r\n"
        "Key 4=HKEY_LOCAL_MACHINE\r\nSubKey 4=Software\\AfterTheEnd\r\nKey Class 4=NULL\r\nName 4.1=A\r\nData 4.1=B\r\n");
    engine->WriteRegisterSection();
    EXPECT_EQ(engine->registry, (Values{
                                   {"2\\Software\\Acme|Path", "C:\\ACME\\ACME.EXE"},
                                   {"2\\Software\\Acme|@", "default value"},
                                   {"2\\Software\\Acme|Empty", "<no data>"},
                                   {"2\\Software\\Acme|Data Dir", "C:\\ACME\\DATA\\FILES"},
                                   {"1\\Software\\Acme\\Options|Color", "blue"},
                               }));
    EXPECT_EQ(engine->keyClasses["2\\Software\\Acme"], "<none>");
    EXPECT_EQ(engine->keyClasses["1\\Software\\Acme\\Options"], "AcmeClass");
    EXPECT_EQ(engine->keyClasses.count("2\\Software\\AfterTheEnd"), 0u) << "Key Class 3 missing ends the section";
}

TEST(Register, FailuresEndTheirKeyOrTheSection) {
    auto failing = Engine(
        "[Register]\r\nKey 1=HKEY_USERS\r\nSubKey 1=S\r\nKey Class 1=NULL\r\n"
        "Name 1.1=A\r\nData 1.1=a\r\nName 1.2=B\r\nData 1.2=b\r\nName 1.3=C\r\nData 1.3=c\r\n"
        "Key 2=HKEY_USERS\r\nSubKey 2=T\r\nKey Class 2=NULL\r\nName 2.1=D\r\nData 2.1=d\r\n");
    failing->failingValues = {"B"};
    failing->WriteRegisterSection();
    EXPECT_EQ(failing->registry, (Values{{"3\\S|A", "a"}, {"3\\T|D", "d"}}));

    auto unknownRoot = Engine(
        "[Register]\r\nKey 1=HKEY_NOWHERE\r\nSubKey 1=S\r\nKey Class 1=NULL\r\nName 1.1=A\r\nData 1.1=a\r\n"
        "Key 2=HKEY_USERS\r\nSubKey 2=T\r\nKey Class 2=NULL\r\nName 2.1=D\r\nData 2.1=d\r\n");
    unknownRoot->WriteRegisterSection();
    EXPECT_TRUE(unknownRoot->registry.empty()) << "a root outside the table ends the section";
}

TEST(Uninstall, Entry) {
    struct Case {
        const char* keys;
        Values expected;
    };
    const std::string path = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme";
    const Case cases[] = {
        {"SubKey=Acme\r\nDisplayName=Acme Tools\r\nUnInstallString=REMOVE.EXE /all\r\n",
         {{"2\\" + path + "|DisplayName", "Acme Tools"}, {"2\\" + path + "|UninstallString", "C:\\ACME\\REMOVE.EXE /all"}}},
        {"Key=HKEY_CURRENT_USER\r\nSubKey=Acme\r\nDisplayName=Acme Tools\r\nUnInstallString=REMOVE.EXE:@\r\n",
         {{"1\\" + path + "|DisplayName", "Acme Tools"}, {"1\\" + path + "|UninstallString", "C:\\WINDOWS\\REMOVE.EXE"}}},
        {"DisplayName=Acme Tools\r\nUnInstallString=REMOVE.EXE\r\n", {}},
        {"SubKey=Acme\r\nUnInstallString=REMOVE.EXE\r\n", {}},
        {"SubKey=Acme\r\nDisplayName=Acme Tools\r\nUnInstallString=REMOVE.EXE:7\r\n", {}},
        {"Key=HKEY_ELSEWHERE\r\nSubKey=Acme\r\nDisplayName=Acme Tools\r\nUnInstallString=REMOVE.EXE\r\n", {}},
    };
    for (const Case& c : cases) {
        auto engine = Engine(std::string("[UnInstall]\r\n") + c.keys);
        engine->WriteUninstallEntry();
        EXPECT_EQ(engine->registry, c.expected) << c.keys;
    }
    auto refused = Engine("[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\nUnInstallString=R.EXE\r\n");
    refused->failingValues = {"DisplayName"};
    refused->WriteUninstallEntry();
    EXPECT_TRUE(refused->registry.empty()) << "no uninstall command without its name";
}

}  // namespace
}  // namespace setup
