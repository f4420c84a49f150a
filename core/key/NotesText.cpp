#include "core/key/NotesText.h"

#include "core/platform/Text.h"
#include "core/platform/WholeFile.h"

namespace vorn {

NotesText NotesTextOf(std::string_view bytes, bool more) {
    std::string text;
    text.reserve(bytes.size());
    NotesText notes;
    notes.Cut = more;
    int lines = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        if (lines == kMaxNotesLines) {
            notes.Cut = true;
            break;
        }
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = bytes.size();
        if (lines > 0) text += '\n';
        text.append(bytes, i, end - i);
        ++lines;
        i = end;
        if (i < bytes.size() && bytes[i++] == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    }
    notes.Text = KeyTextToUtf8(text);
    return notes;
}

NotesText ReadNotesText(const std::string& fileName) {
    FileBytes file = ReadWholeFile(fileName, kMaxNotesBytes);
    return NotesTextOf(file.Bytes, file.More);
}

}  // namespace vorn
