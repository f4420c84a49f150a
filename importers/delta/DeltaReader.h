#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn::delta {

// One directive of a directives file: "*CHARACTER TYPES 1,TE 2,RN" has the name
// "CHARACTER TYPES" and the data " 1,TE 2,RN", which runs to the next directive.
struct Directive {
    std::string Name;  // the name as written, words joined by one blank
    std::string Data;
    int Line = 0;  // where the directive starts, from 1
};

// The directives of a file's text; text before the first directive is ignored. A
// directive is "*" at the start of a line followed by its name in capitals.
std::vector<Directive> ReadDirectives(std::string_view text);

// True when `name` is the directive `wanted` (words of capitals, one blank apart): as
// many words, and the first three letters of each word agree.
bool IsDirective(std::string_view name, std::string_view wanted);

// The line of `directive`'s file that holds offset `offset` of its data.
int LineOf(const Directive& directive, size_t offset);

enum class CharType { Unordered, Ordered, Integer, Real, Text };

struct CharRange {
    int First = 0;
    int Last = 0;
    bool Contains(int number) const { return number >= First && number <= Last; }
};

// The numbers of every directive are kept below this, so that no range asks for more.
constexpr int MaxNumber = 1000000;

struct Character {
    int Number = 0;
    std::string Text;  // as written, with comments and marks
    // What follows the character's text: a multistate character's states "n. text/"
    // (Number is n) or a numeric character's units (Number is 0).
    struct Part {
        int Number = 0;
        std::string Text;
    };
    std::vector<Part> Parts;
};

struct Attribute {
    int Char = 0;
    std::string Comments;  // the comments between the number and the value, as written
    std::string Value;     // after ",", as written (comments included); empty without ","
    bool HasValue = false;
};

struct Item {
    std::string Name;  // as written
    bool Variant = false;
    std::vector<Attribute> Attributes;
};

struct TaxonImages {
    std::string Name;  // as written
    std::vector<std::string> Files;
};

struct DependencyRule {
    int Char = 0;
    std::vector<CharRange> States;  // the controlling states K
    std::vector<CharRange> Dependents;
};

// Everything the converter uses from a dataset's directives files.
struct Dataset {
    std::string Show;  // *SHOW of specs
    std::vector<std::pair<CharRange, CharType>> Types;
    std::vector<std::pair<CharRange, std::string>> ImplicitValues;
    std::vector<DependencyRule> Rules;
    std::vector<Character> Characters;
    std::vector<Item> Items;
    std::vector<TaxonImages> Images;
    std::vector<std::pair<CharRange, std::string>> KeyStates;
    std::vector<CharRange> NormalValues;
    std::vector<CharRange> Excluded;
    bool HasCharacterList = false;
    bool HasItemDescriptions = false;

    // Lines that could not be read: "file, line N: what".
    std::vector<std::string> Problems;
    // Lines that hold a "<" read as a plain "<" (see MarkPlainLess): "file, line N", each
    // line once.
    std::vector<std::string> PlainLessLines;
};

// Which file a text came from; each reads only its own directives.
enum class DeltaFile { Specs, Chars, Items, Images, KeyStates };

// Reads the directives of one file's text (already through FromDeltaBytes) into
// `dataset`. `fileName` names the file in the problems it notes. Never throws on bad
// input; what cannot be read is noted in dataset.Problems.
void ReadDeltaFile(DeltaFile file, std::string_view text, const std::string& fileName,
                   Dataset& dataset);

// The index just past a text that ends with "/" (outside comments, before a blank or
// the line's end), or the start of the next "#" record, or the end. `end` receives
// the index of the text's end (the "/" or where it stopped).
size_t TextEnd(std::string_view data, size_t at, size_t& end);

}  // namespace vorn::delta
