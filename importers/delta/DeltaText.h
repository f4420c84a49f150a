#pragma once

#include <string>
#include <string_view>

namespace vorn::delta {

// Stands for a line break asked for by a \par or \line mark, until notes are written.
constexpr char LineBreak = '\x1e';

// DELTA files are 8-bit text. The Windows quotes, dashes and ellipsis become their ASCII
// forms; every other byte is kept (Latin-1).
std::string FromDeltaBytes(std::string_view bytes);

// Latin-1 text as Windows-1252 bytes for a key: control characters and the bytes
// 0x80-0x9F, which stand for no printable Latin-1 character, become "?".
std::string ToKeyText(std::string_view text);

// Command-line text (UTF-8 when it decodes as such, else taken as Latin-1) as Latin-1;
// characters beyond it become their ASCII forms or "?".
std::string FromCommandLine(std::string_view text);

// The index just past the comment that starts at `at` ("<"); comments nest, and one
// that is not closed runs to the end of the text.
size_t CommentEnd(std::string_view text, size_t at);

// The text without its comments.
std::string RemoveComments(std::string_view text);

// The text with the brackets of its comments removed and their words kept; internal
// codes ("<<implicit>>") are dropped whole.
std::string CommentsAsWords(std::string_view text);

// The words of the first comment that is not an internal code, cleaned; empty if none.
std::string FirstCommentWords(std::string_view text);

// The contents of every comment of the text, cleaned and joined by blanks.
std::string CommentContents(std::string_view text);

// Removes typesetting marks (\i{}, \i0{}, \sub{}...) and braces. With `lineBreaks`,
// \par and \line become LineBreak.
std::string RemoveMarks(std::string_view text, bool lineBreaks = false);

// Folds runs of blanks, tabs and line ends into one blank, drops the blank before
// , . ; : ) and after (, and trims both ends. LineBreak is kept, without blanks around.
std::string Squeeze(std::string_view text);

// A character, state or item text: comments and marks removed, blanks folded.
std::string CleanText(std::string_view text);

// `text` wrapped at `width` columns into lines (LineBreak starts a new line), its
// words written as key text.
std::string WrapText(std::string_view text, size_t width, std::string_view lineEnd);

}  // namespace vorn::delta
