#include "desktop/JournalKeeper.h"

#include <QDateTime>

#include "core/platform/IoError.h"
#include "core/platform/Messages.h"
#include "core/session/Journal.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

// Something to restore: a score, or a group begun.
bool Identifying(const Session& session) {
    if (!session.Key.KeyOpen) return false;
    if (session.OrMode()) return true;
    for (int32_t s = 0; s < session.Key.StateCount; ++s) {
        if (session.StateScore(s) != ScoreNone) return true;
    }
    return false;
}

}  // namespace

JournalKeeper::JournalKeeper(Session& session, std::string folder)
    : session_(session), folder_(std::move(folder)) {
    sync_.setSingleShot(true);
    sync_.setInterval(kSyncDelayMs);
    connect(&sync_, &QTimer::timeout, this, [this] { Sync(); });
}

void JournalKeeper::Tell(const std::exception& error) {
    if (told_) return;
    told_ = true;
    ShowError(std::string("VORN cannot keep the journal that restores this identification if VORN "
                          "does not close normally: ") +
              error.what() + "  The identification goes on.");
}

void JournalKeeper::Record() {
    if (folder_.empty()) return;
    if (!Identifying(session_)) {
        file_.Remove();
        return;
    }
    try {
        file_.Open(folder_);
        std::string date = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
        file_.Write(JournalText(session_, date));
        if (!sync_.isActive()) sync_.start();
    } catch (const IoError& error) {
        Tell(error);
    }
}

void JournalKeeper::Sync() {
    if (!file_.IsOpen()) return;
    try {
        file_.Sync();
    } catch (const IoError& error) {
        Tell(error);
    }
}

void JournalKeeper::Finish() {
    sync_.stop();
    file_.Close();
    if (!folder_.empty()) JournalFile::RemoveAside(folder_);
}

bool JournalKeeper::OfferRestore() {
    if (folder_.empty()) return false;
    bool restored = false;
    for (const std::string& journal : JournalFile::Orphans(folder_)) {
        JournalInfo info = ReadJournal(journal);
        if (!info.Problem.empty()) {
            ShowInformation(
                "VORN found the journal of an identification that it did not close "
                "normally, but cannot use it: " +
                info.Problem + ".  It is kept in " + JournalFile::SetAside(journal) + ".");
            continue;
        }
        if (restored) {
            // One identification a start; the others are kept aside.
            JournalFile::SetAside(journal);
            continue;
        }
        std::string key = SplitKeyFileName(info.KeyPath).Name;
        std::string scored =
            std::to_string(info.Scored) + (info.Scored == 1 ? " state scored" : " states scored");
        if (!UI().AskYesNo(MessageKind::Warning,
                           "VORN did not close normally while identifying with " + key + " (" +
                               scored + ", " + info.Date + ").  Restore that identification?",
                           nullptr)) {
            JournalFile::SetAside(journal);
            continue;
        }
        if (std::string why = WhyJournalKeyChanged(info); !why.empty()) {
            ShowInformation("The identification with " + key + " cannot be restored: " + why +
                            ".  It is kept in " + JournalFile::SetAside(journal) +
                            ", a history list you can load by hand.");
            continue;
        }
        OpenKey(session_, info.KeyPath);
        if (!session_.Key.KeyOpen || session_.OpenKeyPath != info.KeyPath) {
            JournalFile::SetAside(journal);
            continue;
        }
        RestoreJournal(session_, journal, info);
        restored = true;
        // The identification is this program's now: its own journal holds it.
        Record();
        JournalFile::Discard(journal);
    }
    return restored;
}

}  // namespace vorn
