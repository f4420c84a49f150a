#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::sdd {

// What the importer uses of an SDD 1.1 document (TDWG Structured Descriptive Data): the
// first dataset's characters, coded descriptions, dependency rules, modifiers and media
// objects. Texts are UTF-8; ids are compared as written (case counts: "Ng" is not "ng").
// A text is the first Label of its Representation in the dataset's language (xml:lang),
// else the first without a language, else the first; the HTML that some programs put
// into labels (<i>, &nbsp;) is taken out and blanks are folded.

struct State {
    std::string Id, Label;
};

enum class CharacterKind { Categorical, Quantitative, Text };

struct Character {
    CharacterKind Kind = CharacterKind::Categorical;
    std::string Id, Label;
    std::string Unit;                    // quantitative: its measurement unit
    bool Integer = false;                // quantitative: ValuesAreInteger
    std::vector<State> States;           // categorical
    std::vector<std::string> MediaRefs;  // the pictures of its Representation
};

// InapplicableIf (the dependent is inapplicable when the controlling character has only
// these states) or OnlyApplicableIf (when it has none of them).
struct DependencyRule {
    std::string Dependent;
    bool OnlyApplicable = false;
    std::vector<std::string> States;  // state ids
};

struct Modifier {
    std::string Label;
    bool Denies = false;  // "never", "not", "probably not": the state is not there
};

struct StateValue {
    std::string State;                   // state id
    std::vector<std::string> Modifiers;  // modifier ids
};

struct Measure {
    std::string Type;  // Min, Max, Mean, UMethLower, ...
    double Value = 0;
};

// One entry of a description's SummaryData.
struct Entry {
    CharacterKind Kind = CharacterKind::Categorical;
    std::string Character;           // id
    std::string Status;              // Status code, empty when none
    std::vector<StateValue> States;  // Categorical
    std::vector<Measure> Measures;   // Quantitative
    std::string Text;                // TextChar Content
};

struct Description {
    std::string Label;
    std::string TaxonName;  // the label of its Scope's TaxonName, empty when none
    std::vector<std::string> MediaRefs;
    std::vector<Entry> Entries;
};

struct MediaObject {
    std::string Label, Type, Href;
};

struct Document {
    std::string Label;                // the dataset's
    std::vector<std::string> Rights;  // its IPR statements (copyright, licence)
    std::vector<Character> Characters;
    std::vector<Description> Descriptions;
    std::vector<DependencyRule> Rules;  // of every character tree, in order
    std::map<std::string, Modifier> Modifiers;
    std::map<std::string, MediaObject> Media;

    // Why the text is no SDD 1.1 document, in one line for the user; empty when it is.
    std::string Refusal;
    // What was left out on the way, one line each.
    std::vector<std::string> Problems;
};

// Reads an SDD document from its bytes. Never throws: a text that is no SDD 1.1
// document (not XML, another root, SDD 1.0) gives a Refusal; malformed XML after the
// root gives a Refusal naming the line.
Document ReadSddDocument(std::string_view bytes);

}  // namespace vorn::sdd
