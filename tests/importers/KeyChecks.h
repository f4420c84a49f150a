#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/kit/TestKeys.h"

namespace vorn::testing {

// What the importers' tests ask of a key they wrote: a state's number by its text, and
// what vorn-identify (the program a user would run) reports after some actions.

// What an importer's run printed, and its exit status.
struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs an importer's entry point (RunImportDelta, RunImportSdd) on `args`.
inline Outcome RunImporter(int (*run)(const std::vector<std::string>&, std::ostream&,
                                      std::ostream&),
                           const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Outcome outcome;
    outcome.status = run(args, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The state number (from 1) whose text is `text` in the .CHR file `chr`; 0, and a
// failure, when there is none.
inline int StateNumber(const std::string& chr, const std::string& text) {
    std::string records = ReadFile(chr);
    for (size_t s = 0; s * 80 < records.size(); ++s) {
        std::string record = records.substr(s * 80, 80);
        record.erase(record.find_last_not_of(' ') + 1);
        if (record == text) return static_cast<int>(s + 1);
    }
    ADD_FAILURE() << "no state \"" << text << "\" in " << chr;
    return 0;
}

// vorn-identify's report on the key `des` after `actions`; `scratch` is a file to hold it.
inline std::string IdentifyReport(const std::string& des, const std::vector<std::string>& actions,
                                  const std::string& scratch) {
    std::string command = ShellQuote(VORN_IDENTIFY_BINARY) + " " + ShellQuote(des);
    for (const std::string& action : actions)
        command += " " + ShellQuote(action);
    command += " >" + ShellQuote(scratch) + " 2>&1";
    int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(scratch);
    return ReadFile(scratch);
}

}  // namespace vorn::testing
