// The mapping from a dataset to a key: codes, state texts, taxon records, index and
// title page, on small datasets written for each construct.
#include <gtest/gtest.h>

#include "core/key/KeyFiles.h"
#include "importers/delta/DeltaConvert.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

struct Texts {
    Texts(std::string s, std::string c, std::string i, std::string k = "")
        : specs(std::move(s)), chars(std::move(c)), items(std::move(i)), tokey(std::move(k)) {}
    std::string specs, chars, items, tokey;
};

Conversion ConvertTexts(const Texts& t, const std::string& title = "") {
    Dataset d;
    ReadDeltaFile(DeltaFile::Specs, FromDeltaBytes(t.specs), "specs", d);
    ReadDeltaFile(DeltaFile::Chars, FromDeltaBytes(t.chars), "chars", d);
    ReadDeltaFile(DeltaFile::Items, FromDeltaBytes(t.items), "items", d);
    ReadDeltaFile(DeltaFile::KeyStates, FromDeltaBytes(t.tokey), "tokey", d);
    ConvertOptions options;
    options.Name = "K";
    options.Title = title;
    options.DatasetName = "set";
    return Convert(d, options, {});
}

// Item `item`'s codes (from 0) for every state of the key, in state order.
std::string Column(const Conversion& c, size_t item) {
    std::string codes;
    for (const std::string& state : c.Key.Codes)
        codes += state.at(item);
    return codes;
}

std::string OneItem(const std::string& attributes) {
    return "*ITEM DESCRIPTIONS\n# one/ " + attributes + "\n# other/ 1,1\n";
}

TEST(DeltaMapping, MultistateValuesCodeEachState) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,1", "+--"},
        {"1,1/2", "**-"},
        {"1,1&3", "*-*"},
        {"1,1-3", "***"},
        {"1,2<often>/3", "-**"},
        {"1<c>,1<rarely>", "+--"},
        {"1,V", "***"},
        {"1,U", "???"},
        {"1,-", "---"},
        {"1,1/-", "*--"},
        {"1,4", "???"},
        {"1,x", "???"},
        {"", "???"},
        {"1<bare comment>", "???"},
    };
    for (const auto& [attributes, codes] : cases) {
        Conversion c = ConvertTexts(
            {"", "*CHARACTER LIST\n#1. colour/ 1. red/ 2. green/ 3. blue/\n", OneItem(attributes)});
        EXPECT_EQ(Column(c, 0), codes) << attributes;
        bool bad = codes == std::string("???") &&
                   std::string(attributes).find(',') != std::string::npos &&
                   std::string(attributes) != "1,U";
        EXPECT_EQ(c.Unreadable.size(), bad ? 1u : 0u) << attributes;
    }
    Conversion c = ConvertTexts(
        {"", "*CHARACTER LIST\n#1. colour/ 1. red/ 2. green/ 3. blue/\n", OneItem("1,4")});
    ASSERT_EQ(c.Unreadable.size(), 1u);
    EXPECT_EQ(c.Unreadable[0], "character 1, item 1 (one): \"4\": the character has 3 states");
}

TEST(DeltaMapping, NumericKeyStatesAreClosedRanges) {
    const char* chars = "*CHARACTER LIST\n#1. length/ mm/\n";
    const char* specs = "*CHARACTER TYPES 1,RN\n";
    const std::pair<const char*, const char*> cases[] = {
        {"1,1", "+--"},     {"1,2", "**-"},   {"1,3-4", "-+-"},         {"1,(1-)3", "**-"},
        {"1,6(-8)", "--+"}, {"1,1/6", "*-*"}, {"1,U", "???"},           {"1,V", "***"},
        {"1,-", "---"},     {"1,a", "???"},   {"1,(1-)2-3(-9)", "***"},
    };
    for (const auto& [attributes, codes] : cases) {
        Conversion c =
            ConvertTexts({specs, chars, OneItem(attributes), "*KEY STATES 1,~2/2-5/5~\n"});
        EXPECT_EQ(Column(c, 0), codes) << attributes;
    }
    Conversion c = ConvertTexts(
        {specs, chars, OneItem("1,(1-)3"), "*KEY STATES 1,~2/2-5/5~\n*USE NORMAL VALUES 1\n"});
    EXPECT_EQ(Column(c, 0), "-+-");
    ASSERT_EQ(c.Key.States.size(), 3u);
    EXPECT_EQ(c.Key.States[0], "length: up to 2 mm");
    EXPECT_EQ(c.Key.States[1], "length: 2 to 5 mm");
    EXPECT_EQ(c.Key.States[2], "length: from 5 mm");

    c = ConvertTexts({specs, chars, OneItem("1,1.5") + "# third/ 1,1\n", "*KEY STATES 1,0/1/2~\n"});
    EXPECT_EQ(c.Key.States[1], "length: 1 mm");
    EXPECT_EQ(Column(c, 0), "???");  // hits no key state
    EXPECT_EQ(Column(c, 2), "-+-");
}

TEST(DeltaMapping, MultistateKeyStatesGroupStates) {
    Conversion c = ConvertTexts({"", "*CHARACTER LIST\n#1. leaf/ 1. a/ 2. b/ 3. c/ 4. d/\n",
                                 "*ITEM DESCRIPTIONS\n# x/ 1,1/3\n# y/ 1,2/4\n# z/ 1,4\n",
                                 "*KEY STATES 1,1-3/4\n"});
    ASSERT_EQ(c.Key.States.size(), 2u);
    EXPECT_EQ(c.Key.States[0], "leaf: a or b or c");
    EXPECT_EQ(Column(c, 0), "+-");
    EXPECT_EQ(Column(c, 1), "**");
    EXPECT_EQ(Column(c, 2), "-+");
}

TEST(DeltaMapping, TertilesWithoutKeyStates) {
    Conversion c = ConvertTexts({"*CHARACTER TYPES 1,IN 2,RN\n",
                                 "*CHARACTER LIST\n#1. teeth/\n#2. width/ cm/\n",
                                 "*ITEM DESCRIPTIONS\n# a/ 1,1 2,0.0412\n# b/ 1,2-3\n# c/ 1,4/5\n"
                                 "# d/ 1,6(-7)\n# e/ 1,U 2,0.0456\n"});
    // Numbers 1 2 3 4 5 6 7: tertiles 3 and 5.
    ASSERT_EQ(c.Key.States.size(), 6u);
    EXPECT_EQ(c.Key.States[0], "teeth: less than 3");
    EXPECT_EQ(c.Key.States[1], "teeth: 3 to 5");
    EXPECT_EQ(c.Key.States[2], "teeth: more than 5");
    EXPECT_EQ(c.Key.States[3], "width: less than 0.043 cm");
    EXPECT_EQ(c.Key.States[4], "width: 0.043 to 0.044 cm");
    EXPECT_EQ(Column(c, 1).substr(0, 3), "**-");
    EXPECT_EQ(Column(c, 2).substr(0, 3), "-+-");
    EXPECT_EQ(Column(c, 3).substr(0, 3), "--+");
    EXPECT_EQ(Column(c, 4).substr(0, 3), "???");

    const std::pair<double, const char*> rounded[] = {
        {0.04567, "0.046"}, {123.4, "120"}, {1.5, "1.5"},     {2.0, "2"},
        {1995, "2000"},     {0, "0"},       {-0.35, "-0.35"}, {15.5, "16"}};
    for (const auto& [value, text] : rounded)
        EXPECT_EQ(import::TwoDigits(value), text) << value;
    EXPECT_DOUBLE_EQ(import::Quantile({1, 2, 4, 8}, 1.0 / 3), 2);
    EXPECT_DOUBLE_EQ(import::Quantile({1, 2, 4, 8}, 2.0 / 3), 4);
    EXPECT_DOUBLE_EQ(import::Quantile({10, 20}, 1.0 / 3), 10 + 10.0 / 3);

    c = ConvertTexts({"*CHARACTER TYPES 1,RN\n", "*CHARACTER LIST\n#1. size/\n#2. m/ 1. a/\n",
                      "*ITEM DESCRIPTIONS\n# a/ 1,U 2,1\n"});
    EXPECT_EQ(c.Key.States.size(), 1u);
    ASSERT_EQ(c.LeftOut.size(), 1u);
    EXPECT_EQ(c.LeftOut[0], "character 1 (size): no item gives a number for it");
}

TEST(DeltaMapping, ImplicitValuesAndDependentCharacters) {
    // 1 controls 2 and 3; 3 controls 4; 2 has an implicit value.
    Texts t{"*IMPLICIT VALUES 2,1\n*DEPENDENT CHARACTERS 1,2:2-3 3,1:4\n",
            "*CHARACTER LIST\n#1. wings/ 1. present/ 2. absent/\n#2. colour/ 1. red/ 2. blue/\n"
            "#3. veins/ 1. few/ 2. many/\n#4. vein colour/ 1. dark/ 2. pale/\n",
            "*ITEM DESCRIPTIONS\n# absent/ 1,2\n# present/ 1,1\n# unknown/ 4,1\n"
            "# given anyway/ 1,2 2,2\n# both/ 1,1/2\n"};
    Conversion c = ConvertTexts(t);
    EXPECT_EQ(Column(c, 0), "-+------");  // 2, 3 inapplicable, and so 4
    EXPECT_EQ(Column(c, 1), "+-+-????");  // 2 implicit
    EXPECT_EQ(Column(c, 2), "??+-??+-");
    EXPECT_EQ(Column(c, 3), "-+-+----");  // a given value stays
    EXPECT_EQ(Column(c, 4), "**+-????");

    t.specs += "*IMPLICIT VALUES 1,2\n";  // now an omitted 1 makes 2 and 3 inapplicable
    EXPECT_EQ(Column(ConvertTexts(t), 2), "-+----+-");
}

TEST(DeltaMapping, VariantsTakeTheirItemsAttributes) {
    Conversion c = ConvertTexts({"", "*CHARACTER LIST\n#1. a/ 1. x/ 2. y/\n#2. b/ 1. x/ 2. y/\n",
                                 "*ITEM DESCRIPTIONS\n# base/ 1,1 2,2\n#+ variant <form>/ 2,1\n"
                                 "# other/ 1,2\n"});
    ASSERT_EQ(c.Key.Taxa.size(), 3u);
    EXPECT_EQ(c.Key.Taxa[1], "variant");
    EXPECT_EQ(Column(c, 1), "+-+-");
    EXPECT_EQ(Column(c, 2), "-+??");
}

// A text longer than a state record is whole in the key's whole texts and cut at a word,
// with "…", in its record. Records that would read alike keep their states whole and
// shorten the character in the middle. A key whose texts all fit has no whole texts.
TEST(DeltaMapping, StateTextsWholeAndCutAtAWordInTheirRecords) {
    std::string character = "Number of macrochaetae at hind margin of tergite III";
    Conversion c = ConvertTexts({"",
                                 "*CHARACTER LIST\n#1. " + character +
                                     ":/ 1. with more than 8 macrochaetae/ 2. with 2 "
                                     "macrochaetae in posterior corners/ 3. absent/ 4. with 2 "
                                     "macrochaetae in median rows/\n",
                                 "*ITEM DESCRIPTIONS\n# a/ 1,1\n"});
    ASSERT_EQ(c.Key.States.size(), 4u);
    EXPECT_EQ(c.Key.WholeStates,
              (std::vector<std::string>{character + ": with more than 8 macrochaetae",
                                        character + ": with 2 macrochaetae in posterior corners",
                                        character + ": absent",
                                        character + ": with 2 macrochaetae in median rows"}));
    EXPECT_EQ(c.Key.States,
              (std::vector<std::string>{
                  character + ": with more than 8\x85",
                  "Number of \x85 of tergite III: with 2 macrochaetae in posterior corners",
                  character + ": absent",
                  "Number of \x85 margin of tergite III: with 2 macrochaetae in median rows"}));
    for (const std::string& record : c.Key.States)
        EXPECT_LE(record.size(), 80u) << record;

    c = ConvertTexts({"", "*CHARACTER LIST\n#1. leaf/ 1. simple/ 2. compound/\n",
                      "*ITEM DESCRIPTIONS\n# a/ 1,1\n"});
    EXPECT_EQ(c.Key.States, (std::vector<std::string>{"leaf: simple", "leaf: compound"}));
    EXPECT_TRUE(c.Key.WholeStates.empty());
}

// States whose texts read alike are told apart by their comments, else by their
// numbers; those whose texts are the same in the dataset keep them, and are listed.
TEST(DeltaMapping, StatesThatReadAlikeAreToldApartUnlessTheDatasetSaysTheSame) {
    Conversion c =
        ConvertTexts({"",
                      "*CHARACTER LIST\n#1. leaf <upper> hairs/ 1. dense/ 2. sparse <few>/ "
                      "3. sparse <scattered>/\n#2. leaf <lower> hairs/ 1. dense/\n"
                      "#3. leaf <upper> hairs/ 1. dense/\n#4. \\i{}width\\i0{}/ 1. wide/\n"
                      "#5. width/ 1. wide/\n#6. height/ 1. tall/\n",
                      "*ITEM DESCRIPTIONS\n# a/ 1,1\n"});
    EXPECT_EQ(c.Key.States, (std::vector<std::string>{
                                "leaf upper hairs: dense", "leaf upper hairs: sparse few",
                                "leaf upper hairs: sparse scattered", "leaf lower hairs: dense",
                                "leaf upper hairs: dense", "width (character 4): wide",
                                "width (character 5): wide", "height: tall"}));
    EXPECT_EQ(c.SameTexts, std::vector<std::string>{"states 1, 5: \"leaf upper hairs: dense\""});
}

TEST(DeltaMapping, TaxonRecordsNamesCommonNamesAndNotes) {
    Texts t{
        "*CHARACTER TYPES 1,TE 2,TE 3,IN\n",
        "*CHARACTER LIST\n#1. <common name>/\n#2. habitat/\n#3. height/ m/\n#4. form/ 1. a/\n",
        "*ITEM DESCRIPTIONS\n# \\i{}Avena\\i0{} <L.>/ 1<oat> 2<fields\\par{}and roadsides> 3,2\n"
        "# $a/b|c>d/ 1<a common name that is far longer than forty bytes> 4,1\n# <only>/\n"};
    Conversion c = ConvertTexts(t);
    ASSERT_EQ(c.Key.Taxa.size(), 3u);
    EXPECT_FALSE(c.Key.LongTaxonNames);
    EXPECT_EQ(c.Key.Taxa[0], "Avena/oat>T0001.TXT");
    EXPECT_EQ(c.Key.Taxa[1], "a-b-c-d>T0002.TXT");
    EXPECT_EQ(c.Key.Taxa[2], "Item 3");
    ASSERT_EQ(c.Notes.size(), 2u);
    EXPECT_EQ(c.Notes[0].first, "T0001.TXT");
    EXPECT_EQ(c.Notes[0].second,
              "Avena\r\n\r\ncommon name (character 1): oat\r\n\r\nhabitat (character 2): "
              "fields\r\nand roadsides\r\n\r\nheight (character 3): 2 m\r\n");

    t.items = "*ITEM DESCRIPTIONS\n# " + std::string(60, 'n') + "/ 1<common>\n# b/\n";
    c = ConvertTexts(t);
    EXPECT_TRUE(c.Key.LongTaxonNames);
    EXPECT_EQ(c.Key.Taxa[0], std::string(60, 'n') + "/common>T0001.TXT");
    t.items = "*ITEM DESCRIPTIONS\n# " + std::string(66, 'n') + "/ 1<common>\n";
    c = ConvertTexts(t);
    EXPECT_EQ(c.Key.Taxa[0], std::string(66, 'n') + "/com>T0001.TXT");  // common name first
    t.items = "*ITEM DESCRIPTIONS\n# " + std::string(80, 'n') + "/ 3,1\n";
    EXPECT_EQ(ConvertTexts(t).Key.Taxa[0], std::string(70, 'n') + ">T0001.TXT");
}

TEST(DeltaMapping, IndexEntriesCaptionsAndColumns) {
    Texts t{"*CHARACTER TYPES 2,TE\n",
            "*CHARACTER LIST\n#1. <leaf> shape | form <<code>>/ 1. a/"
            " 2. b/\n#2. notes/\n#3. <a rather long character text that is kept whole>/ 1. a/ "
            "2. b/ 3. c/\n#4. the number of macrochaetae at the hind margin of abdominal "
            "tergite III/ 1. a/\n",
            "*ITEM DESCRIPTIONS\n# a/ 1,1\n"};
    Conversion c = ConvertTexts(t);
    // The comment before the first word qualifies and is dropped; a text of comments only
    // keeps its words. The columns are as wide as the longest caption; one longer than 60
    // characters is cut at a word and ends with "…".
    EXPECT_EQ(c.Key.Index,
              "1 59 2\r\nCharacters 1-3\r\n3\r\nshape / form\r\n1 2\r\n"
              "a rather long character text that is kept whole\r\n3 5\r\n"
              "the number of macrochaetae at the hind margin of abdominal\x85\r\n6 6\r\n");

    // Captions that would repeat one another start with the words that tell them apart.
    t = {"",
         "*CHARACTER LIST\n#1. <simple or compound> leaf blades <shape>/ 1. a/\n"
         "#2. <simple or compound> leaf blades <texture>/ 1. a/\n"
         "#3. <simple or compound> leaf blades <texture>/ 1. a/\n"
         "#4. leaf blades \\endash{} texture of the upper surface/ 1. a/\n",
         "*ITEM DESCRIPTIONS\n# a/ 1,1\n"};
    c = ConvertTexts(t);
    EXPECT_EQ(c.Key.Index,
              "1 42 2\r\nCharacters 1-4\r\n4\r\nleaf blades shape\r\n1 1\r\n"
              "leaf blades texture\r\n2 2\r\nleaf blades texture (3)\r\n3 3\r\n"
              "leaf blades \x96 texture of the upper surface\r\n4 4\r\n");

    // Many characters: one entry each, in columns of 25, as wide as the widest heading.
    t = {"", "*CHARACTER LIST\n", "*ITEM DESCRIPTIONS\n# a/ 1,1\n"};
    for (int i = 1; i <= 700; ++i)
        t.chars += "#" + std::to_string(i) + ". c" + std::to_string(i) + "/ 1. x/\n";
    c = ConvertTexts(t, "Big");
    EXPECT_EQ(c.Key.States.size(), 700u);
    EXPECT_TRUE(c.LeftOut.empty());
    EXPECT_EQ(
        c.Key.Index.rfind("28 18 2\r\nCharacters 1-25\r\n25\r\nc1\r\n1 1\r\nc2\r\n2 2\r\n", 0), 0u);
    EXPECT_NE(c.Key.Index.find("Characters 676-700\r\n25\r\n"), std::string::npos);
    EXPECT_NE(c.Key.Index.find("\r\nc700\r\n700 700\r\n"), std::string::npos);
    EXPECT_EQ(c.Key.TitleLines, (std::vector<std::string>{
                                    "Big", "", "1 taxa, 700 character states from 700 characters",
                                    "Converted from the DELTA dataset set"}));
}

TEST(DeltaMapping, WhatCannotBecomeAKey) {
    Texts t{"*CHARACTER TYPES 1,TE\n", "*CHARACTER LIST\n#1. text/\n",
            "*ITEM DESCRIPTIONS\n# a/ 1<x>\n"};
    EXPECT_TRUE(ConvertTexts(t).NoStates);
    t.chars += "#2. m/ 1. a/\n";
    t.items = "*ITEM DESCRIPTIONS\n";
    for (int i = 0; i <= MaxKeyItems; ++i)
        t.items += "# i/ 2,1\n";
    EXPECT_TRUE(ConvertTexts(t).TooManyItems);
    t.items = "*ITEM DESCRIPTIONS\n# i/ 2,1\n";
    EXPECT_FALSE(ConvertTexts(t).TooManyItems);

    // A table of items x characters too large for the memory is refused, not attempted.
    Texts wide{"", "*CHARACTER LIST\n#1. m/ 1. a/\n#999999. n/ 1. b/\n",
               "*ITEM DESCRIPTIONS\n# i/ 1,1\n"};
    EXPECT_FALSE(ConvertTexts(wide).TooLarge);  // two characters, whatever their numbers
    std::string many = "*CHARACTER LIST\n";
    for (uint64_t c = 1; c <= MaxCells / 1000 + 1; ++c)
        many += "#" + std::to_string(c) + ". c/\n";
    std::string items = "*ITEM DESCRIPTIONS\n";
    for (int i = 0; i < 1000; ++i)
        items += "# i/\n";
    EXPECT_TRUE(ConvertTexts({"", many, items}).TooLarge);

    // Every state is written up to the capacity, and none beyond it.
    std::string states;
    for (int s = 1; s <= MaxKeyItems; ++s)
        states += " " + std::to_string(s) + ". s/";
    t.chars = "*CHARACTER LIST\n#1. text/\n#2. many/" + states + "\n";
    Conversion c = ConvertTexts(t);
    EXPECT_FALSE(c.TooManyStates);
    EXPECT_EQ(c.Key.States.size(), static_cast<size_t>(MaxKeyItems));
    t.chars += "#3. one more/ 1. s/\n";
    c = ConvertTexts(t);
    EXPECT_TRUE(c.TooManyStates);
    EXPECT_EQ(c.StateCount, MaxKeyItems + 1);
}

TEST(DeltaMapping, TitlesThatNameNothingGiveWayToTheFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"*SHOW ~ Grass Genera - specifications.\n", "Grass Genera"},
        {"*SHOW ~ Test Data Set - specs\n", "Set"},
        {"*SHOW ~ Dataset\n", "Set"},
        {"*SHOW ~ DATA SET.\n", "Set"},
        {"*SHOW ~ character list\n", "Set"},
        {"*SHOW ~ specifications\n", "Set"},
        {"", "Set"},
        {"*SHOW ~ Ants of the World \\endash{} specs\n", "Ants of the World"},
    };
    for (const auto& [specs, title] : cases) {
        Conversion c =
            ConvertTexts({specs, "*CHARACTER LIST\n#1. m/ 1. a/\n", "*ITEM DESCRIPTIONS\n# a/\n"});
        EXPECT_EQ(c.Key.TitleLines[0], title) << specs;
    }
    Conversion c = ConvertTexts(
        {"*SHOW ~ Dataset\n", "*CHARACTER LIST\n#1. m/ 1. a/\n", "*ITEM DESCRIPTIONS\n# a/\n"},
        "Given \u00E9");
    EXPECT_EQ(c.Key.TitleLines[0], "Given \xE9");  // --title wins, in Windows-1252
}

TEST(DeltaMapping, MiddleValuesAndMarksArriveWhole) {
    // 3-22.41-50: from 3 to 50, middle 22.41; the middle codes nothing, the notes keep it.
    Texts t{"*CHARACTER TYPES 1,RN\n",
            "*CHARACTER LIST\n#1. leaf length/ mm/\n#2. <Citrus enation \\endash{}> galls/ "
            "1. woody \\endash{} hard/ 2. soft/\n",
            "*ITEM DESCRIPTIONS\n# Salix polaris Hult\\'e9n/ 1,3-22.41-50 2,1\n"
            "# Salix arctica/ 1,(1-)1-1.791-3(-4)\n# Salix reticulata/ 1,60-70 2,2\n"};
    Conversion c = ConvertTexts(t);
    EXPECT_TRUE(c.Unreadable.empty()) << c.Unreadable[0];
    // Numbers 1 1 3 3 4 50 60 70 (middles left out): tertiles 3 and 35.
    ASSERT_EQ(c.Key.States.size(), 5u);
    EXPECT_EQ(c.Key.States[0], "leaf length: less than 3 mm");
    EXPECT_EQ(c.Key.States[2], "leaf length: more than 35 mm");
    EXPECT_EQ(c.Key.States[3], "galls: woody \x96 hard");
    EXPECT_EQ(Column(c, 0), "-**+-");
    EXPECT_EQ(Column(c, 1), "**-??");
    EXPECT_EQ(Column(c, 2), "--+-+");
    EXPECT_EQ(c.Key.Taxa[0], "Salix polaris Hult\xE9n>T0001.TXT");
    EXPECT_EQ(c.Notes[0].second,
              "Salix polaris Hult\xE9n\r\n\r\nleaf length (character 1): 3-22.41-50 mm\r\n");
    EXPECT_EQ(c.Unwritable, 0);
}

}  // namespace
}  // namespace vorn::delta
