#pragma once

#include <QObject>
#include <QTimer>
#include <string>

#include "core/platform/JournalFile.h"

namespace vorn {

class Session;

// Keeps the journal of the desktop's identification, so that a VORN killed, logged out or
// cut off by a power failure can restore it at the next start: written after every step
// and change of tolerance (a new file renamed over the old one), flushed to the disk by a
// one-shot timer within a second, off the user's path; removed when the identification
// ends normally. A journal that cannot be written is told once; the identification goes on.
class JournalKeeper : public QObject {
    Q_OBJECT
public:
    // Journals go in `folder` (the program's StateFolder(); tests give their own).
    JournalKeeper(Session& session, std::string folder);

    // The identification changed: the journal follows it, or goes when nothing is left
    // to restore (no key, no score, no group).
    void Record();
    // The program ends normally: its journal and lock go, and the journal set aside.
    void Finish();

    // At start: offers, through the message interface, each identification of a VORN that
    // did not close normally. Yes opens its key and restores it (one step for Undo); No
    // keeps the journal aside until the next normal end. A journal that cannot be read or
    // whose key changed is told, with where it is kept. True when a key was restored.
    bool OfferRestore();

    // The milliseconds within which a written journal reaches the disk.
    static constexpr int kSyncDelayMs = 1000;
    const JournalFile& File() const { return file_; }

private:
    void Sync();
    void Tell(const std::exception& error);

    Session& session_;
    std::string folder_;
    JournalFile file_;
    QTimer sync_;
    bool told_ = false;
};

}  // namespace vorn
