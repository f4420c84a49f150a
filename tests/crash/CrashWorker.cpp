// The program killed and restarted by check-crash-journal.sh: the desktop's main window
// and windows, identifying on a key of its own until it is killed; then, started again,
// restoring what its journal kept and checking it against the actions it had logged.
//
//   vorn-crash-worker work DIR SEED [load|reset]   identify at random until killed
//   vorn-crash-worker check DIR                     restore, and compare with a replay
//
// With "load" or "reset" the worker kills itself with SIGKILL in the middle of its first
// history list load, or Reset, after the tenth action, at an event of it drawn at random:
// a kill no outside timing could aim at so surely.
//
// DIR holds the key, the settings, the journals (DIR/state/) and the log, a line
// "doing ACTION" before each action (vorn-identify's syntax) and "done" after it.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/session/Actions.h"
#include "core/session/HistoryList.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"
#include "core/session/Settings.h"
#include "tests/kit/GuiFixture.h"
#include "tests/kit/ScriptedUserInterface.h"
#include "tests/kit/TestKeys.h"

using namespace vorn;

namespace {

constexpr int kTaxa = 400;
constexpr int kStates = 800;

std::string KeyPath(const std::string& dir) {
    return dir + "CRASH.DES";
}
std::string HistoryPath(const std::string& dir) {
    return dir + "LONG.HIS";
}

// Applies one logged action to `session` as vorn-identify does.
void Apply(Session& session, const std::string& text, const std::string& dir) {
    std::optional<Action> action = ParseAction(text);
    if (!action) return;
    switch (action->Kind) {
        case Action::Score:
            session.ScoreState(*ActionState(*action, session.Key.StateCount), action->Request);
            break;
        case Action::Or:
            session.ToggleOrMode();
            break;
        case Action::Undo:
            session.Undo();
            break;
        case Action::Redo:
            session.Redo();
            break;
        case Action::Reset:
            ResetKey(session);
            break;
        case Action::History:
            LoadHistoryList(session, dir + action->File, nullptr);
            break;
    }
}

// Scores and mismatches: what a restored identification must give back.
std::string Picture(const Session& session) {
    std::string picture;
    for (int32_t s = 0; s < session.Key.StateCount; ++s)
        picture += static_cast<char>('0' + session.StateScore(s));
    picture += "|";
    for (int32_t t = 0; t < session.Key.TaxonCount; ++t)
        picture += std::to_string(session.TaxonMismatchCount(t)) + ",";
    return picture;
}

// What the session tells, passed on to the window registry, with a kill waiting inside
// the action it is armed for.
class KillingEvents : public SessionEvents {
public:
    SessionEvents* Inner = nullptr;
    int Countdown = -1;  // events of the armed action until the kill; -1 unarmed
    bool CountScores = false;

    void StateScored(int32_t state) override {
        if (CountScores) Tick();
        Inner->StateScored(state);
    }
    void ScoresChanged() override {
        if (!CountScores) Tick();
        Inner->ScoresChanged();
    }
    void OrModeChanged() override {
        if (!CountScores) Tick();
        Inner->OrModeChanged();
    }
    void StepsChanged() override {
        if (!CountScores) Tick();
        Inner->StepsChanged();
    }
    void ProcessPendingEvents() override { Inner->ProcessPendingEvents(); }
    void KeyOpened() override { Inner->KeyOpened(); }
    bool ConfirmTitlePage() override { return Inner->ConfirmTitlePage(); }
    void KeyAccepted() override { Inner->KeyAccepted(); }
    void KeyClosed() override { Inner->KeyClosed(); }

private:
    void Tick() {
        if (Countdown > 0 && --Countdown == 0) ::raise(SIGKILL);
    }
};

void Log(int fd, const std::string& line) {
    std::string text = line + "\n";
    if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
}

int Work(const std::string& dir, uint32_t seed, const std::string& plan) {
    if (!std::filesystem::exists(KeyPath(dir))) {
        testing::KeySpec keySpec = testing::RandomKey(kTaxa, kStates, seed);
        keySpec.Name = "CRASH";
        testing::WriteKey(dir, keySpec);
        // A long history list, so that a kill can land while it loads.
        std::string history;
        for (int s = 1; s <= kStates; s += 2)
            history += (s % 4 == 1 ? "+" : "-") + std::to_string(s) + "\r\n";
        history += "(0\r\np2\r\na4\r\n)0\r\n(0\r\np6\r\n";
        testing::WriteFile(HistoryPath(dir), history);
    }
    testing::ScriptedUserInterface ui;
    TMainForm main(dir + "VORNWIN.INI", dir + "state/");
    main.resize(1200, 800);
    main.show();
    QPointer<QTimer> poll = testing::AcceptNextDialog();
    OpenKey(CurrentSession(), KeyPath(dir));
    if (!CurrentSession().Key.KeyOpen) return 2;
    Windows().LayoutScoreWithHistory();
    Windows().ShowWindow(WindowKind::CharDiff);

    int log = ::open((dir + "log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (log < 0) return 2;
    std::mt19937 random(seed);
    KillingEvents killer;
    killer.Inner = CurrentSession().SetEvents(&killer);
    for (int actions = 0;; ++actions) {
        int pick = static_cast<int>(random() % 100);
        std::string action;
        if (pick < 4) {
            action = "reset";
        } else if (pick < 7) {
            action = "@LONG.HIS";
        } else if (pick < 17) {
            action = "undo";
        } else if (pick < 22) {
            action = "redo";
        } else if (pick < 30) {
            action = "or";
        } else {
            const char* kinds = "+-~=";
            action = std::string(1, kinds[random() % 4]) +
                     std::to_string(1 + random() % (random() % 2 ? 12 : kStates));
        }
        Log(log, "doing " + action);
        if (actions >= 10 && killer.Countdown < 0) {
            if (plan == "load" && action == "@LONG.HIS") {
                killer.CountScores = true;
                killer.Countdown = 1 + static_cast<int>(random() % 400);
            } else if (plan == "reset" && action == "reset") {
                killer.Countdown = 1 + static_cast<int>(random() % 3);
            }
        }
        // As the menus and buttons do it.
        if (action == "reset") {
            main.Reset1->trigger();
        } else if (action == "undo") {
            main.Undo1->trigger();
        } else if (action == "redo") {
            main.Redo1->trigger();
        } else {
            Apply(CurrentSession(), action, dir);
        }
        QCoreApplication::processEvents();
        Log(log, "done");
        // At rest now and then, with the journal's timer to run.
        QThread::msleep(random() % 20);
        QCoreApplication::processEvents();
    }
}

int Check(const std::string& dir) {
    // What the log says: the actions done, and the one begun when the kill came, if any.
    std::ifstream logFile(dir + "log");
    std::vector<std::string> done;
    std::string begun, line;
    while (std::getline(logFile, line)) {
        if (line.rfind("doing ", 0) == 0) {
            begun = line.substr(6);
        } else if (line == "done" && !begun.empty()) {
            done.push_back(begun);
            begun.clear();
        }
    }
    Session replay;
    OpenKey(replay, KeyPath(dir));
    for (const std::string& action : done)
        Apply(replay, action, dir);
    std::string atRest = Picture(replay);
    std::string afterBegun;
    if (!begun.empty()) {
        Apply(replay, begun, dir);
        afterBegun = Picture(replay);
    }

    // The settings of the killed program: its key is in its key history once anything was
    // done with it (they are written when the first action has been shown).
    Session settings;
    ReadSettings(settings, dir + "VORNWIN.INI");
    if (!done.empty() && settings.KeyHistory[0] != KeyPath(dir)) {
        std::printf("the settings do not name the key the killed program opened\n");
        return 1;
    }

    testing::ScriptedUserInterface ui;
    ui.Answers = {true};
    TMainForm main(dir + "VORNWIN.INI", dir + "state/");
    main.show();
    QPointer<QTimer> poll = testing::AcceptNextDialog();
    bool restored = main.Journal().OfferRestore();
    if (poll) poll->deleteLater();
    std::string now = restored ? Picture(CurrentSession()) : std::string();
    // No journal is kept while nothing is scored.
    auto unscored = [](const std::string& picture) {
        return picture.find_first_not_of('0') == picture.find('|');
    };
    bool nothingToRestore = unscored(atRest) || (!begun.empty() && unscored(afterBegun));
    std::string where = begun.empty() ? "at rest" : "during \"" + begun + "\"";
    if (!ui.Texts().empty()) {
        std::printf("killed %s: %s\n", where.c_str(), ui.Texts().front().c_str());
        return 1;
    }
    if (now == atRest || (!begun.empty() && now == afterBegun) || (!restored && nothingToRestore)) {
        std::printf("killed %s after %zu actions: %s\n", where.c_str(), done.size(),
                    !restored       ? "nothing to restore"
                    : now == atRest ? "restored the last step done"
                                    : "restored the step that was ending");
        main.close();
        return 0;
    }
    std::printf("killed %s after %zu actions: the restored identification is no step's\n",
                where.c_str(), done.size());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: vorn-crash-worker work DIR SEED | check DIR\n", stderr);
        return 2;
    }
    VornApplication app(argc, argv);
    std::string mode = argv[1];
    std::string dir = argv[2];
    if (dir.back() != '/') dir += '/';
    if (mode == "work" && argc >= 4)
        return Work(dir, static_cast<uint32_t>(std::stoul(argv[3])), argc > 4 ? argv[4] : "");
    if (mode == "check") return Check(dir);
    return 2;
}
