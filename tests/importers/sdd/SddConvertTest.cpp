// Reading SDD documents and the mapping to a key: labels, refusals, codes, dependency
// rules, numbers, notes, index and title page, on small documents written for each.
#include <gtest/gtest.h>

#include "core/key/KeyFiles.h"
#include "importers/sdd/SddConvert.h"
#include "importers/sdd/SddDocument.h"
#include "tests/importers/sdd/SddTestDocuments.h"

namespace vorn::sdd {
namespace {

using namespace vorn::sdd::testing;

Conversion ConvertText(const std::string& xml) {
    ConvertOptions options;
    options.Name = "K";
    options.DocumentName = "test.xml";
    return Convert(ReadSddDocument(xml), options, {}, {});
}

std::string Column(const Conversion& c, size_t taxon) {
    std::string codes;
    for (const std::string& state : c.Key.Codes)
        codes += state.at(taxon);
    return codes;
}

TEST(SddDocument, LabelsInTheDatasetsLanguageWithoutHtml) {
    Document d = ReadSddDocument(Birds());
    ASSERT_TRUE(d.Refusal.empty()) << d.Refusal;
    EXPECT_EQ(d.Label, "Birds of the North Sea");
    EXPECT_EQ(d.Rights, std::vector<std::string>{"\u00A9 2020 Me"});
    ASSERT_EQ(d.Characters.size(), 6u);
    EXPECT_EQ(d.Characters[0].Label, "colour");  // no English label: the first without one
    EXPECT_EQ(d.Characters[1].Label, "wings");   // the English one
    EXPECT_EQ(d.Characters[4].Unit, "cm");
    EXPECT_EQ(d.Characters[5].Kind, CharacterKind::Text);
    ASSERT_EQ(d.Rules.size(), 2u);
    EXPECT_TRUE(d.Rules[1].OnlyApplicable);
    EXPECT_TRUE(d.Modifiers.at("never").Denies);
    EXPECT_TRUE(d.Modifiers.at("not").Denies);
    EXPECT_FALSE(d.Modifiers.at("rarely").Denies);
    ASSERT_EQ(d.Descriptions.size(), 5u);
    EXPECT_EQ(d.Descriptions[0].TaxonName, "Erithacus rubecula");
    EXPECT_EQ(d.Descriptions[2].TaxonName, "");
}

TEST(SddDocument, WhatIsNoSdd11DocumentIsRefusedInOneLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "not an XML document"},
        {"just text", "not an XML document"},
        {"<?xml version=\"1.0\"?><Key/>", "the document's root is <Key>"},
        {SddText("", "1.0"), "not an SDD 1.1 document"},
        {"<Datasets><Dataset/></Datasets>", "not an SDD 1.1 document"},
        {SddText("<Characters><CategoricalCharacter id=\"a\">"), "the XML cannot be read"},
        {"<Datasets xmlns=\"http://rs.tdwg.org/UBIF/2006/\"/>", "holds no <Dataset>"},
    };
    for (const auto& [xml, refusal] : cases) {
        std::string got = ReadSddDocument(xml).Refusal;
        EXPECT_NE(got.find(refusal), std::string::npos) << xml << "\n" << got;
        EXPECT_EQ(got.find('\n'), std::string::npos) << got;
    }
    // Entities that expand without end are refused by the reader, not followed.
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">";
    for (char e = 'b'; e <= 'k'; ++e)
        bomb += std::string("<!ENTITY ") + e + " \"&" + char(e - 1) + ";&" + char(e - 1) + ";&" +
                char(e - 1) + ";&" + char(e - 1) + ";&" + char(e - 1) + ";\">";
    bomb +=
        "]><Datasets xmlns=\"http://rs.tdwg.org/UBIF/2006/\"><Dataset><Representation>"
        "<Label>&k;</Label></Representation></Dataset></Datasets>";
    Document d = ReadSddDocument(bomb);
    EXPECT_LT(d.Label.size(), 1000000u);
}

TEST(SddMapping, CodesStatusesModifiersAndRules) {
    Conversion c = ConvertText(Birds());
    ASSERT_TRUE(c.Refusal.empty()) << c.Refusal;
    ASSERT_EQ(c.Key.States.size(), 12u);
    EXPECT_EQ(c.Key.States[0], "colour: red");
    EXPECT_EQ(c.Key.States[2], "colour: blue");
    EXPECT_EQ(c.Key.States[9], "length: less than 25 cm");
    EXPECT_EQ(c.Key.States[11], "length: more than 33 cm");
    //                     colour wings wcol tail length
    EXPECT_EQ(Column(c, 0),
              "+--"
              "+-"
              "+-"
              "??"
              "+--");  // one state each
    EXPECT_EQ(Column(c, 1),
              "**-"
              "-+"
              "--"
              "--"
              "--+");  // Ng and ng; rules hold
    EXPECT_EQ(Column(c, 2),
              "--*"
              "??"
              "??"
              "??"
              "-+-");  // rarely; never; unknown wings
    EXPECT_EQ(Column(c, 3),
              "---"
              "-+"
              "-+"
              "--"
              "???");  // given data wins over a rule
    EXPECT_EQ(Column(c, 4),
              "-??"
              "??"
              "??"
              "??"
              "???");  // probably not; ratings only
    ASSERT_EQ(c.Problems.size(), 1u);
    EXPECT_EQ(c.Problems[0],
              "description 5 (Doubt): an entry for \"c9\", which is no character of its kind, "
              "is left out");
    ASSERT_EQ(c.LeftOut.size(), 1u);
    EXPECT_EQ(c.LeftOut[0], "character 6 (habitat): a text character gives no states");
}

TEST(SddMapping, TaxaNotesIndexAndTitlePage) {
    Conversion c = ConvertText(Birds());
    EXPECT_EQ(c.Key.Taxa,
              (std::vector<std::string>{"Erithacus rubecula>T0001.TXT", "Corvus corone>T0002.TXT",
                                        "Puffin>T0003.TXT", "Ghost", "Doubt"}));
    ASSERT_EQ(c.Notes.size(), 3u);
    EXPECT_EQ(c.Notes[0].second,
              "Erithacus rubecula\r\n\r\nlength: Min 10, Max 14 (cm)\r\n\r\nhabitat: gardens\r\n");
    EXPECT_EQ(c.Notes[2].second, "Puffin\r\n\r\nlength: Mean 30 (cm)\r\n");
    EXPECT_EQ(c.Key.Index,
              "1 14 2\r\nCharacters 1-5\r\n5\r\ncolour\r\n1 3\r\nwings\r\n4 5\r\n"
              "wing colour\r\n6 7\r\ntail\r\n8 9\r\nlength\r\n10 12\r\n");
    EXPECT_EQ(c.Key.TitleLines,
              (std::vector<std::string>{"Birds of the North Sea", "\xA9 2020 Me", "",
                                        "5 taxa, 12 character states from 5 characters",
                                        "Converted from the SDD document test.xml"}));
    EXPECT_EQ(c.Unwritable, 0);

    // A label that Windows-1252 cannot hold is written with "?" and counted.
    std::string xml = Birds();
    xml.replace(xml.find(">green<"), 7, ">\xCE\xB2-green<");  // β
    EXPECT_EQ(ConvertText(xml).Key.States[1], "colour: ?-green");
    EXPECT_EQ(ConvertText(xml).Unwritable, 1);
}

// Labels that read alike in the key are told apart by the characters' numbers unless the
// document's labels are the same; texts longer than a record are kept whole beside it.
TEST(SddMapping, StateTextsWholeAndToldApart) {
    std::string longLabel = "Relative length of dorsal branch of pygofer dorsal appendages (Males)";
    std::string xml = SddText(
        "<Characters>" + Categorical("a", Labelled("colour \xCE\xB1"), {{"a1", "red"}}) +  // α
        Categorical("b", Labelled("colour \xCE\xB2"), {{"b1", "red"}}) +                   // β
        Categorical("c", Labelled("shape"), {{"c1", "round"}, {"c2", "round"}}) +
        Categorical("d", Labelled(longLabel),
                    {{"d1", "subequal to ventral branch in length"}, {"d2", "shorter"}}) +
        "</Characters><CodedDescriptions>" + CodedDescription("x", "", "") +
        "</CodedDescriptions>");
    Conversion c = ConvertText(xml);
    ASSERT_TRUE(c.Refusal.empty()) << c.Refusal;
    std::string whole = longLabel + ": subequal to ventral branch in length";
    EXPECT_EQ(
        c.Key.WholeStates,
        (std::vector<std::string>{"colour ? (character 1): red", "colour ? (character 2): red",
                                  "shape: round", "shape: round", whole, longLabel + ": shorter"}));
    EXPECT_EQ(c.Key.States[4], longLabel + ": subequal\x85");
    EXPECT_EQ(c.Key.States[5], longLabel + ": shorter");
    EXPECT_EQ(c.SameTexts, std::vector<std::string>{"states 3, 4: \"shape: round\""});
}

TEST(SddMapping, WhatCannotBecomeAKey) {
    EXPECT_EQ(ConvertText(SddText("<Characters>" + Categorical("c", Labelled("x"), {{"s", "y"}}) +
                                  "</Characters>"))
                  .Refusal,
              "the document has no coded descriptions");
    EXPECT_EQ(ConvertText(SddText("<Characters><TextCharacter id=\"t\"/></Characters>"
                                  "<CodedDescriptions>" +
                                  CodedDescription("a", "", "") + "</CodedDescriptions>"))
                  .Refusal,
              "the document has no categorical or quantitative character");

    // States up to the capacity are written; one more is refused.
    std::vector<std::pair<std::string, std::string>> states;
    for (int s = 0; s < MaxKeyItems; ++s)
        states.push_back({"s" + std::to_string(s), "state"});
    std::string descriptions =
        "<CodedDescriptions>" + CodedDescription("a", "", "") + "</CodedDescriptions>";
    Conversion c = ConvertText(SddText("<Characters>" + Categorical("c", Labelled("x"), states) +
                                       "</Characters>" + descriptions));
    EXPECT_TRUE(c.Refusal.empty()) << c.Refusal;
    EXPECT_EQ(c.Key.States.size(), static_cast<size_t>(MaxKeyItems));
    c = ConvertText(SddText("<Characters>" + Categorical("c", Labelled("x"), states) +
                            Categorical("d", Labelled("y"), {{"e", "z"}}) + "</Characters>" +
                            descriptions));
    EXPECT_NE(c.Refusal.find("give " + std::to_string(MaxKeyItems + 1) + " states"),
              std::string::npos)
        << c.Refusal;
}

}  // namespace
}  // namespace vorn::sdd
