#include "importers/delta/DeltaReader.h"

#include <algorithm>
#include <optional>

#include "importers/common/KeyText.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !IsSpace(text[i]))
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

// A whole number below MaxNumber, or nothing.
std::optional<int> Number(std::string_view text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= MaxNumber) return std::nullopt;
    return value;
}

// "a" or "a-b" with 1 <= a <= b.
std::optional<CharRange> Range(std::string_view text) {
    size_t dash = text.find('-');
    std::optional<int> first = Number(text.substr(0, dash));
    std::optional<int> last =
        dash == std::string_view::npos ? first : Number(text.substr(dash + 1));
    if (!first || !last || *first < 1 || *last < *first) return std::nullopt;
    return CharRange{*first, *last};
}

// "a b-c ..." separated by blanks, or by "/" or ":" when `separators` says so.
std::optional<std::vector<CharRange>> Ranges(std::string_view text, char separator) {
    std::vector<CharRange> ranges;
    size_t i = 0;
    while (i <= text.size()) {
        size_t end = text.find(separator, i);
        if (end == std::string_view::npos) end = text.size();
        std::optional<CharRange> range = Range(text.substr(i, end - i));
        if (!range) return std::nullopt;
        ranges.push_back(*range);
        i = end + 1;
    }
    return ranges;
}

class FileReader {
public:
    FileReader(const std::string& fileName, Dataset& dataset)
        : fileName_(fileName), dataset_(dataset) {}

    void Problem(const Directive& d, size_t offset, const std::string& what) {
        dataset_.Problems.push_back(fileName_ + ", line " + std::to_string(LineOf(d, offset)) +
                                    ": " + WithPlainLess(what));
    }

    // Marks the plain "<" of the directive's data and notes each line that holds one.
    void MarkPlainLessOf(Directive& d) {
        int line = d.Line, noted = 0;
        size_t counted = 0;
        for (size_t at : MarkPlainLess(d.Data)) {
            line += static_cast<int>(std::count(d.Data.begin() + static_cast<ptrdiff_t>(counted),
                                                d.Data.begin() + static_cast<ptrdiff_t>(at), '\n'));
            counted = at;
            if (line == noted) continue;
            noted = line;
            dataset_.PlainLessLines.push_back(fileName_ + ", line " + std::to_string(line));
        }
    }

    // Directives whose data is a list of "range,value" words.
    template <class F>
    void ForEachPair(const Directive& d, F&& use) {
        std::string data = RemoveComments(d.Data);
        for (std::string_view word : Words(data)) {
            size_t comma = word.find(',');
            std::optional<CharRange> range =
                comma == std::string_view::npos ? std::nullopt : Range(word.substr(0, comma));
            if (!range || !use(*range, word.substr(comma + 1))) {
                Problem(d, 0, "*" + d.Name + ": \"" + std::string(word) + "\" cannot be read");
            }
        }
    }

    void CharacterList(const Directive& d, std::vector<CharRange>& list) {
        std::string data = RemoveComments(d.Data);
        for (std::string_view word : Words(data)) {
            std::optional<CharRange> range = Range(word);
            if (range) {
                list.push_back(*range);
            } else {
                Problem(d, 0, "*" + d.Name + ": \"" + std::string(word) + "\" is not a character");
            }
        }
    }

    void Types(const Directive& d) {
        ForEachPair(d, [&](CharRange range, std::string_view type) {
            static const std::pair<std::string_view, CharType> kTypes[] = {
                {"UM", CharType::Unordered},
                {"OM", CharType::Ordered},
                {"IN", CharType::Integer},
                {"RN", CharType::Real},
                {"TE", CharType::Text}};
            for (const auto& [code, value] : kTypes) {
                if (type == code) {
                    dataset_.Types.push_back({range, value});
                    return true;
                }
            }
            return false;
        });
    }

    void Dependencies(const Directive& d) {
        ForEachPair(d, [&](CharRange range, std::string_view rest) {
            if (range.First != range.Last) return false;
            size_t colon = rest.find(':');
            if (colon == std::string_view::npos) return false;
            auto states = Ranges(rest.substr(0, colon), '/');
            auto dependents = Ranges(rest.substr(colon + 1), ':');
            if (!states || !dependents) return false;
            dataset_.Rules.push_back({range.First, *states, *dependents});
            return true;
        });
    }

    void CharacterListDirective(const Directive& d) {
        dataset_.HasCharacterList = true;
        std::string_view s = d.Data;
        size_t i = 0;
        while (AtRecord(d, i, "text outside a character")) {
            size_t start = i++;
            size_t digits = i;
            while (i < s.size() && IsDigit(s[i]))
                ++i;
            std::optional<int> number = Number(s.substr(digits, i - digits));
            if (!number || *number < 1 || i >= s.size() || s[i] != '.') {
                i = SkipToRecord(d, start + 1, "a character must begin \"#n.\"");
                continue;
            }
            Character character;
            character.Number = *number;
            character.Text = ReadText(d, i + 1, i);
            while (true) {
                while (i < s.size() && IsSpace(s[i]))
                    ++i;
                if (i >= s.size() || s[i] == '#') break;
                Character::Part part;
                size_t j = i;
                while (j < s.size() && IsDigit(s[j]))
                    ++j;
                if (j > i && j + 1 < s.size() && s[j] == '.' && !IsDigit(s[j + 1])) {
                    part.Number = Number(s.substr(i, j - i)).value_or(-1);
                    i = j + 1;
                }
                part.Text = ReadText(d, i, i);
                character.Parts.push_back(std::move(part));
            }
            dataset_.Characters.push_back(std::move(character));
        }
    }

    void ItemDescriptions(const Directive& d) {
        dataset_.HasItemDescriptions = true;
        std::string_view s = d.Data;
        size_t i = 0;
        while (AtRecord(d, i, "text outside an item")) {
            Item item;
            ++i;
            if (i < s.size() && s[i] == '+') {
                item.Variant = true;
                ++i;
            }
            item.Name = ReadText(d, i, i);
            ReadAttributes(d, i, item);
            dataset_.Items.push_back(std::move(item));
        }
    }

    void TaxonImagesDirective(const Directive& d) {
        std::string_view s = d.Data;
        size_t i = 0;
        while (AtRecord(d, i, "text outside a taxon's images")) {
            TaxonImages images;
            images.Name = ReadText(d, i + 1, i);
            size_t end = NextRecord(s, i);
            std::string files = RemoveComments(s.substr(i, end - i));
            for (std::string_view word : Words(files))
                images.Files.push_back(WithPlainLess(std::string(word)));
            dataset_.Images.push_back(std::move(images));
            i = end;
        }
    }

private:
    // The start of the next "#" record at or after `at` (outside comments, after a blank
    // or a line's start), or the end.
    static size_t NextRecord(std::string_view s, size_t at) {
        for (size_t i = at; i < s.size();) {
            if (s[i] == '<') {
                i = CommentEnd(s, i);
            } else if (s[i] == '#' && (i == 0 || IsSpace(s[i - 1]))) {
                return i;
            } else {
                ++i;
            }
        }
        return s.size();
    }

    // Moves `i` past blanks to the next "#" record, telling of any other text before it as
    // `outside`; false at the end of the directive.
    bool AtRecord(const Directive& d, size_t& i, const std::string& outside) {
        std::string_view s = d.Data;
        while (true) {
            while (i < s.size() && IsSpace(s[i]))
                ++i;
            if (i >= s.size()) return false;
            if (s[i] == '#') return true;
            i = SkipToRecord(d, i, outside);
        }
    }

    size_t SkipToRecord(const Directive& d, size_t at, const std::string& what) {
        size_t next = NextRecord(d.Data, at);
        std::string text = CleanText(import::CutUtf8(d.Data.substr(at, next - at), 40));
        Problem(d, at, what + " (\"" + text + "\") is left out");
        return next;
    }

    // Reads the text from `at` to its closing "/"; `next` receives where reading goes on.
    std::string ReadText(const Directive& d, size_t at, size_t& next) {
        while (at < d.Data.size() && IsSpace(d.Data[at]))
            ++at;
        size_t end = 0;
        next = TextEnd(d.Data, at, end);
        if (end >= d.Data.size() || d.Data[end] != '/') {
            Problem(d, at, "a text is not closed by \"/\"");
        }
        return std::string(d.Data.substr(at, end - at));
    }

    void ReadAttributes(const Directive& d, size_t& i, Item& item) {
        std::string_view s = d.Data;
        while (true) {
            while (i < s.size() && IsSpace(s[i]))
                ++i;
            if (i >= s.size() || s[i] == '#') return;
            if (s[i] == '<') {
                // A comment after a blank still belongs to the attribute before it.
                size_t end = CommentEnd(s, i);
                if (item.Attributes.empty()) {
                    Problem(d, i, "a comment before the first attribute is left out");
                } else {
                    Attribute& last = item.Attributes.back();
                    (last.HasValue ? last.Value : last.Comments) += s.substr(i, end - i);
                }
                i = end;
                continue;
            }
            size_t start = i;
            while (i < s.size() && IsDigit(s[i]))
                ++i;
            std::optional<int> number = Number(s.substr(start, i - start));
            Attribute attribute;
            if (!number || *number < 1) {
                size_t end = WordEnd(s, start);
                Problem(d, start,
                        "\"" + import::CutUtf8(s.substr(start, end - start), 40) +
                            "\" is not an attribute and is left out");
                i = end;
                continue;
            }
            attribute.Char = *number;
            while (i < s.size() && s[i] == '<') {
                size_t end = CommentEnd(s, i);
                attribute.Comments += s.substr(i, end - i);
                i = end;
            }
            if (i < s.size() && s[i] == ',') {
                attribute.HasValue = true;
                size_t end = WordEnd(s, i + 1);
                attribute.Value = s.substr(i + 1, end - i - 1);
                i = end;
            } else if (i < s.size() && !IsSpace(s[i])) {
                size_t end = WordEnd(s, i);
                Problem(d, i,
                        "character " + std::to_string(*number) + ": \"" +
                            import::CutUtf8(s.substr(i, end - i), 40) +
                            "\" cannot be read and is left out");
                i = end;
            }
            item.Attributes.push_back(std::move(attribute));
        }
    }

    // The end of a word: the next blank outside comments.
    static size_t WordEnd(std::string_view s, size_t at) {
        size_t i = at;
        while (i < s.size() && !IsSpace(s[i]))
            i = s[i] == '<' ? CommentEnd(s, i) : i + 1;
        return i;
    }

    const std::string& fileName_;
    Dataset& dataset_;
};

}  // namespace

std::vector<Directive> ReadDirectives(std::string_view text) {
    std::vector<Directive> directives;
    int line = 1;
    size_t i = 0;
    Directive* current = nullptr;
    size_t dataStart = 0;
    auto close = [&](size_t end) {
        if (current) current->Data = std::string(text.substr(dataStart, end - dataStart));
    };
    while (i < text.size()) {
        size_t lineEnd = text.find('\n', i);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        if (text[i] == '*' && i + 1 < text.size() && IsCapital(text[i + 1])) {
            close(i);
            Directive directive;
            directive.Line = line;
            size_t j = i + 1;
            // The name: words of capitals, up to the first word that is not one.
            while (true) {
                size_t start = j;
                while (j < lineEnd && IsCapital(text[j]))
                    ++j;
                bool word =
                    j > start && (j >= lineEnd || !(IsCapital(text[j]) || IsDigit(text[j]) ||
                                                    (text[j] >= 'a' && text[j] <= 'z')));
                if (!word) {
                    j = start;
                    break;
                }
                if (!directive.Name.empty()) directive.Name += ' ';
                directive.Name += text.substr(start, j - start);
                while (j < lineEnd && (text[j] == ' ' || text[j] == '\t'))
                    ++j;
            }
            directives.push_back(std::move(directive));
            current = &directives.back();
            dataStart = j;
        }
        i = lineEnd + 1;
        ++line;
    }
    close(text.size());
    return directives;
}

bool IsDirective(std::string_view name, std::string_view wanted) {
    std::vector<std::string_view> a = Words(name), b = Words(wanted);
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < b.size(); ++k) {
        if (a[k].substr(0, 3) != b[k].substr(0, 3)) return false;
    }
    return true;
}

int LineOf(const Directive& directive, size_t offset) {
    offset = std::min(offset, directive.Data.size());
    return directive.Line + static_cast<int>(std::count(
                                directive.Data.begin(),
                                directive.Data.begin() + static_cast<ptrdiff_t>(offset), '\n'));
}

size_t TextEnd(std::string_view data, size_t at, size_t& end) {
    for (size_t i = at; i < data.size();) {
        char c = data[i];
        if (c == '<') {
            i = CommentEnd(data, i);
        } else if (c == '/' && (i + 1 == data.size() || IsSpace(data[i + 1]))) {
            end = i;
            return i + 1;
        } else if (c == '#' && i > at && IsSpace(data[i - 1])) {
            end = i;
            return i;
        } else {
            ++i;
        }
    }
    end = data.size();
    return data.size();
}

void ReadDeltaFile(DeltaFile file, std::string_view text, const std::string& fileName,
                   Dataset& dataset) {
    FileReader reader(fileName, dataset);
    for (Directive& d : ReadDirectives(text)) {
        // Capitals after a short name are the directive's data: "*SHOW GRASS GENERA".
        std::vector<std::string_view> words = Words(d.Name);
        size_t known = 1;
        if (!words.empty() && words[0].substr(0, 3) == "SHO" && words.size() > 1) {
            std::string extra;
            for (size_t k = known; k < words.size(); ++k)
                extra += std::string(words[k]) + " ";
            d.Data = extra + d.Data;
            d.Name.resize(static_cast<size_t>(words[known - 1].end() - d.Name.data()));
        }
        reader.MarkPlainLessOf(d);
        const std::string& name = d.Name;
        switch (file) {
            case DeltaFile::Specs:
                if (IsDirective(name, "SHOW")) {
                    dataset.Show = d.Data;
                } else if (IsDirective(name, "CHARACTER TYPES")) {
                    reader.Types(d);
                } else if (IsDirective(name, "IMPLICIT VALUES")) {
                    reader.ForEachPair(d, [&](CharRange range, std::string_view value) {
                        dataset.ImplicitValues.push_back({range, std::string(value)});
                        return !value.empty();
                    });
                } else if (IsDirective(name, "DEPENDENT CHARACTERS")) {
                    reader.Dependencies(d);
                }
                break;
            case DeltaFile::Chars:
                if (IsDirective(name, "CHARACTER LIST")) reader.CharacterListDirective(d);
                break;
            case DeltaFile::Items:
                if (IsDirective(name, "ITEM DESCRIPTIONS")) reader.ItemDescriptions(d);
                break;
            case DeltaFile::Images:
                if (IsDirective(name, "TAXON IMAGES")) reader.TaxonImagesDirective(d);
                break;
            case DeltaFile::KeyStates:
                if (IsDirective(name, "KEY STATES")) {
                    reader.ForEachPair(d, [&](CharRange range, std::string_view states) {
                        dataset.KeyStates.push_back({range, std::string(states)});
                        return !states.empty();
                    });
                } else if (IsDirective(name, "USE NORMAL VALUES")) {
                    reader.CharacterList(d, dataset.NormalValues);
                } else if (IsDirective(name, "EXCLUDE CHARACTERS")) {
                    reader.CharacterList(d, dataset.Excluded);
                }
                break;
        }
    }
}

}  // namespace vorn::delta
