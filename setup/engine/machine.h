// What the installation asks of the machine beyond files: the program manager's command
// service, registry keys, and the system's ways to restart and to start a program. The
// main frame answers with the system's calls; tests answer with fakes.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace setup {

// One conversation with the program manager.
class ProgramManager {
public:
    enum class Outcome { kAccepted, kRefused, kNoData };
    virtual ~ProgramManager() = default;
    // Sends one command ("[CreateGroup(...)]") as an execute transaction.
    virtual Outcome Execute(const std::string& command) = 0;
    // True when the program manager lists a group of that name.
    virtual bool HasGroup(const std::string&) { return false; }
};

// An open registry key, closed when the object goes.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A REG_SZ value; a null name is the key's default value, null data a value with no
    // data. False when the system refused it.
    virtual bool SetString(const char* name, const char* data) = 0;
    // True when opening made the key; false when it was there already.
    virtual bool Created() const = 0;
    // A value's text (kNotText when it is of another type), none when it is absent; and its
    // deletion.
    virtual std::optional<std::string> GetString(const char*) { return std::nullopt; }
    virtual bool DeleteValue(const char*) { return false; }
};

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// The root a script names ("HKEY_LOCAL_MACHINE", any case); empty for any other name.
std::optional<RegistryRoot> RegistryRootByName(const std::string& name);

// ExitWindowsEx's codes that the installation uses.
namespace exit_windows {
constexpr unsigned kLogOff = 0;
constexpr unsigned kReboot = 2;
constexpr unsigned kForce = 4;
}  // namespace exit_windows

}  // namespace setup
