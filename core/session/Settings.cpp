#include "core/session/Settings.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "core/key/KeyFiles.h"
#include "core/platform/Directory.h"
#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/platform/PrivateProfile.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

// A whole value in decimal, or in hexadecimal after "0x" or "0X"; nothing otherwise.
std::optional<long long> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* begin = text.c_str();
    int base = 10;
    const char* digits = begin;
    if (*digits == '+' || *digits == '-') ++digits;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) base = 16;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(begin, &end, base);
    if (end == begin || *end != '\0') return std::nullopt;
    return value;  // out of range saturates: still nonzero
}

bool ReadBoolean(const PrivateProfile& ini, const char* key) {
    std::optional<std::string> value = ini.Get("Modes", key);
    std::optional<long long> number = value ? ParseInteger(*value) : std::nullopt;
    return number && *number != 0;
}

const char* NameModeWord(NameModeValue mode) {
    switch (mode) {
        case CommonNames:
            return "CommonNames";
        case BothNames:
            return "BothNames";
        default:
            return "ScientificNames";
    }
}

}  // namespace

void ReadSettings(Session& session, const std::string& iniPath) {
    PrivateProfile ini(iniPath);
    session.StartupKeyPath = ini.Get("OpenKey", "FullName").value_or("");

    std::string workDir = ini.Get("Directories", "WorkDir").value_or("");
    session.InitialWorkDir.clear();
    if (!workDir.empty()) {
        if (ChangeToDirectory(workDir)) {
            session.InitialWorkDir = workDir;
        } else {
            ShowInformation("Sorry, the initial working directory \"" + workDir +
                            "\" does not exist.");
        }
    }

    for (int i = 0; i < kKeyHistorySize; ++i) {
        session.KeyHistory[static_cast<size_t>(i)] =
            ini.Get("History", std::to_string(i)).value_or("");
    }
    session.NumberMode = ReadBoolean(ini, "NumberMode");
    session.CountMode = ReadBoolean(ini, "CountMode");
    std::optional<long long> tolerance = ParseInteger(ini.Get("Modes", "Tolerance").value_or(""));
    session.ToleranceMode = tolerance && *tolerance >= 0 && *tolerance <= kMenuTolerance
                                ? static_cast<int>(*tolerance)
                                : 0;
    std::string name = ini.Get("Modes", "NameMode").value_or("");
    if (name == "ScientificNames") session.NameMode = ScientificNames;
    if (name == "CommonNames") session.NameMode = CommonNames;
    if (name == "BothNames") session.NameMode = BothNames;
}

bool WriteSettings(const Session& session, const std::string& iniPath, bool tell) {
    PrivateProfile ini(iniPath);
    ini.Set("OpenKey", "FullName", session.Key.KeyOpen ? session.OpenKeyPath : std::string());
    ini.Set("Directories", "WorkDir", session.WorkDir);
    ini.EraseSection("History");
    for (int i = 0; i < kKeyHistorySize; ++i) {
        const std::string& entry = session.KeyHistory[static_cast<size_t>(i)];
        if (!entry.empty()) ini.Set("History", std::to_string(i), entry);
    }
    ini.Set("Modes", "NumberMode", session.NumberMode ? "1" : "0");
    ini.Set("Modes", "CountMode", session.CountMode ? "1" : "0");
    ini.Set("Modes", "NameMode", NameModeWord(session.NameMode));
    ini.Set("Modes", "Tolerance", std::to_string(session.ToleranceMode));
    try {
        ini.Save();
        return true;
    } catch (const IoError&) {
        if (tell) ShowError("Unable to write to " + iniPath);
        return false;
    }
}

void OpenStartupKey(Session& session) {
    if (!session.StartupKeyPath.empty()) OpenKey(session, session.StartupKeyPath);
}

}  // namespace vorn
