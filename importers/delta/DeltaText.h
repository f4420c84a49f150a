#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "importers/common/KeyBuilder.h"

namespace vorn::delta {

using import::LineBreak;

// Stands, in a directive's data, for a "<" that opens no comment: one that no ">" closes
// before the end of its character or item. The reader puts it there (MarkPlainLess);
// Squeeze, and so every cleaned text, gives it back as "<".
constexpr char PlainLess = '\x1c';

// Replaces by PlainLess every "<" of a directive's data that no ">" closes before the
// end of its character or item (the next "#" after a blank, unless the comment closes on
// that "#"'s own line, as "<see #2>" does) or of the data. Comments nest. A PlainLess
// byte of the file itself becomes a blank. Returns the offsets replaced, in order.
std::vector<size_t> MarkPlainLess(std::string& data);

// The text with PlainLess given back as "<".
std::string WithPlainLess(std::string text);

// A DELTA file's bytes as UTF-8 text: in the code page `encoding` (a name Qt knows), or
// with `encoding` empty as UTF-8 when they are valid UTF-8, else as Windows-1252; then
// with the marks that stand for characters replaced by them (ReplaceCharacterMarks).
std::string FromDeltaBytes(std::string_view bytes, const std::string& encoding = "");

// The RTF marks that stand for characters, replaced by them: \endash, \emdash, \lquote,
// \rquote, \ldblquote, \rdblquote, \bullet, \~ (a non-breaking blank), \'hh (byte hh
// in the code page `encoding`, Windows-1252 when empty) and \uN (code point N, a signed
// 16-bit number, followed by the fallback characters that \ucN counts, 1 by default,
// which are skipped). A mark ends at "{}" or at one blank, which go with it. A mark that
// would give a character DELTA reads as structure (< > / # * \ { }) or a control
// character is dropped. Other marks are left for RemoveMarks.
std::string ReplaceCharacterMarks(std::string_view text, const std::string& encoding);

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
// , . ; : ) and after (, and trims both ends. LineBreak is kept, without blanks around;
// PlainLess becomes "<".
std::string Squeeze(std::string_view text);

// A character, state or item text: comments and marks removed, blanks folded.
std::string CleanText(std::string_view text);

}  // namespace vorn::delta
