#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/JournalFile.h"

namespace vorn {

class Session;

// A journal of an identification: what the next start needs to restore it after a crash.
// It is a history list (core/session/HistoryList.h) whose remark lines, beginning with "#",
// name the key, the identity of its four files, the tolerance and the time, and end it
// with a count and a checksum; the other lines are every score and group. A user can load
// it by hand like any history list.

// The journal of the session's identification, dated `date` ("2026-12-09 14:05").
std::string JournalText(Session& session, const std::string& date);

// What a journal says about itself.
struct JournalInfo {
    std::string KeyPath;  // the key's .DES file
    struct KeyFile {
        std::string Name;  // as the key names it, resolved in the key's folder
        FileIdentity Identity;
    };
    std::vector<KeyFile> Files;
    int Tolerance = 0;
    std::string Date;
    int32_t Scored = 0;  // states scored, plainly or in groups
    // Empty when the journal is whole; otherwise why it cannot be used, in words for the
    // user ("it is empty", "it is cut short").
    std::string Problem;
};

// Reads the journal `path`. Never throws: a journal that cannot be read has a Problem.
JournalInfo ReadJournal(const std::string& path);

// Why the key a journal was made for cannot be restored now: its .DES file is gone, or
// one of its files changed since; empty when it can.
std::string WhyJournalKeyChanged(const JournalInfo& info);

// Restores the identification of the journal `path` into `session`, whose open key is the
// journal's: its tolerance, then its scores and groups, one step for Undo.
void RestoreJournal(Session& session, const std::string& path, const JournalInfo& info);

}  // namespace vorn
