#include "core/key/WholeStateTexts.h"

#include "core/platform/IoError.h"
#include "core/platform/WholeFile.h"

namespace vorn {
namespace {

// Room for a state's line with its text cut nowhere near: far more than any real file
// needs, and a bound on what a damaged or foreign file makes the program read.
constexpr size_t kMostBytesPerState = 4 * kMaxWholeStateText;

}  // namespace

WholeStateTexts WholeStateTextsOf(std::string_view bytes, bool more, const std::string& fileName,
                                  int32_t states) {
    WholeStateTexts result;
    if (more) {
        result.Problem =
            fileName + " is larger than " + std::to_string(states) + " lines of state texts can be";
        return result;
    }
    std::vector<std::string> texts;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = bytes.size();
        if (texts.size() == static_cast<size_t>(states)) {
            // One line more than the key has states: no need to count the rest.
            texts.emplace_back();
            break;
        }
        texts.emplace_back(bytes.substr(at, std::min(end - at, kMaxWholeStateText)));
        at = end;
        if (at < bytes.size()) at += bytes.compare(at, 2, "\r\n") == 0 ? 2 : 1;
    }
    if (texts.size() != static_cast<size_t>(states)) {
        result.Problem = fileName + " holds " +
                         (texts.size() > static_cast<size_t>(states)
                              ? "more lines than"
                              : std::to_string(texts.size()) +
                                    (texts.size() == 1 ? " line for" : " lines for")) +
                         " the key's " + std::to_string(states) +
                         (states == 1 ? " state" : " states");
        return result;
    }
    result.Texts = std::move(texts);
    return result;
}

WholeStateTexts ReadWholeStateTexts(const std::string& fileName, int32_t states) {
    try {
        FileBytes file =
            ReadWholeFile(fileName, (static_cast<size_t>(states) + 1) * kMostBytesPerState);
        return WholeStateTextsOf(file.Bytes, file.More, fileName, states);
    } catch (const IoError& error) {
        return {{}, error.what()};
    }
}

}  // namespace vorn
