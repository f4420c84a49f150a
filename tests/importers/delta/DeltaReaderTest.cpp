// The directive reader and the text rules of DELTA files, one construct at a time.
#include <gtest/gtest.h>

#include "importers/common/KeyText.h"
#include "importers/delta/DeltaReader.h"
#include "importers/delta/DeltaText.h"

namespace vorn::delta {
namespace {

TEST(DeltaText, CleanTextRemovesCommentsMarksAndBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"culms <whether woody or herbaceous>", "culms"},
        {"branched <vegetatively> above", "branched above"},
        {"spike <outer <inner> still outer> end", "spike end"},
        {"leaf <unclosed comment runs to the end", "leaf"},
        {"\\i{}Echinochloa\\i0{} <P. Beauv.>", "Echinochloa"},
        {"C\\sub{}4\\nosupersub{} type", "C4 type"},
        {"{braces} go", "braces go"},
        {"a  \t b\r\n c", "a b c"},
        {"blank before , . ; : ) goes ( and after", "blank before,.;:) goes (and after"},
        {"not pseudopetiolate <<implicit>>", "not pseudopetiolate"},
    };
    for (const auto& [raw, clean] : cases)
        EXPECT_EQ(CleanText(raw), clean) << raw;
}

TEST(DeltaText, CommentWordsForIndexAndBareCharacters) {
    EXPECT_EQ(FirstCommentWords("<longevity of plants>"), "longevity of plants");
    EXPECT_EQ(FirstCommentWords("<<implicit>> <\\i{}Zea mays\\i0{}>"), "Zea mays");
    EXPECT_EQ(FirstCommentWords("<<only a code>>"), "");
    EXPECT_EQ(Squeeze(RemoveMarks(CommentsAsWords("<adaxial> ligule <presence> <<implicit>>"))),
              "adaxial ligule presence");
    EXPECT_EQ(CommentContents("<first\\par{}second> <<code>>"),
              std::string("first") + LineBreak + "second");
}

TEST(DeltaText, OneCodePagePerFileAndKeyTextInWindows1252) {
    EXPECT_EQ(FromDeltaBytes("Hult\xE9n \x93genera\x94 a\x96"
                             "b"),
              "Hult\u00E9n \u201Cgenera\u201D a\u2013b");  // Windows-1252 by default
    EXPECT_EQ(FromDeltaBytes("Hult\x82n", "cp850"), "Hult\u00E9n");
    EXPECT_EQ(FromDeltaBytes("Hult\x82n", "cp437"), "Hult\u00E9n");
    EXPECT_EQ(FromDeltaBytes("caf\xC3\xA9"), "caf\u00E9");  // valid UTF-8 is read as such
    EXPECT_EQ(FromDeltaBytes("caf\xC3\xA9", "cp1252"), "caf\u00C3\u00A9");  // unless told
    EXPECT_EQ(FromDeltaBytes("\xE9", "latin1"), "\u00E9");

    import::KeyTextWriter write;
    EXPECT_EQ(write("\u201Cgenera\u201D \u2013 \u00E9\u20AC"), "\x93genera\x94 \x96 \xE9\x80");
    EXPECT_EQ(write.Unwritable(), 0);
    EXPECT_EQ(write("\u017B\u00F3\u0142w a\tb"), "?\xF3?w a?b");  // Ż and ł; a tab
    EXPECT_EQ(write.Unwritable(), 3);

    EXPECT_EQ(import::FromCommandLine("Gr\xC3\xA4ser \xE2\x82\xAC"), "Gr\u00E4ser \u20AC");
    EXPECT_EQ(import::FromCommandLine("Gr\xE4ser"), "Gr\u00E4ser");  // Windows-1252
    EXPECT_EQ(import::CutUtf8("\u00E9\u00E9", 3), "\u00E9");
}

TEST(DeltaText, LettersOfADosCodePageAmongWindowsOnesAreFound) {
    EXPECT_EQ(import::DosCodedPlaces("Hult\xE9n and Hult\x82n\r\nx\x84y \x93quote\x94", 10),
              (std::vector<std::string>{"line 1: \"Hult?n\"", "line 2: \"x?y\""}));
    EXPECT_EQ(import::DosCodedPlaces("a\x82"
                                     "b c\x82"
                                     "d",
                                     1)
                  .size(),
              1u);
}

TEST(DeltaText, MarksThatStandForCharactersBecomeThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"Citrus enation \\endash{} woody gall", "Citrus enation \u2013 woody gall"},
        {"a\\emdash b", "a\u2014b"},  // one blank ends the mark
        {"\\lquote{}x\\rquote{} \\ldblquote{}y\\rdblquote{}", "\u2018x\u2019 \u201Cy\u201D"},
        {"\\bullet{} a\\~b", "\u2022 a\u00A0b"},
        {"Hult\\'e9n", "Hult\u00E9n"},
        {"\\u8212? and \\u8212\\'97 x", "\u2014 and \u2014 x"},  // fallbacks skipped
        {"\\u-3913?", "\uF0B7"},                                 // N + 65536
        {"\\uc2\\u233\\'65\\'3f rest \\uc0\\u233 x", "\u00E9 rest \u00E9x"},
        {"\\i{}Avena\\i0{} \\par", "\\i{}Avena\\i0{} \\par"},  // left for RemoveMarks
        {"a\\'3cb\\u47?c", "abc"},  // "<" and "/" would change the text's structure
        {"\\endash", "\u2013"},
        {"\\u99999999999999? \\", "\uFFFD \\"},
    };
    for (const auto& [marked, text] : cases)
        EXPECT_EQ(ReplaceCharacterMarks(marked, ""), text) << marked;
    EXPECT_EQ(ReplaceCharacterMarks("Hult\\'82n", "cp850"), "Hult\u00E9n");
    EXPECT_EQ(CleanText(FromDeltaBytes("<\\endash{}> \\i{}Zea\\i0{}\\endash{}mays")),
              "Zea\u2013mays");
}

TEST(DeltaText, WrapsNotesAtTheWidth) {
    import::KeyTextWriter write;
    EXPECT_EQ(import::WrapText("aaa bbb ccc", 7, "|", write), "aaa bbb|ccc|");
    EXPECT_EQ(
        import::WrapText(std::string("one") + LineBreak + "two \u00E9t\u00E9", 76, "|", write),
        "one|two \xE9t\xE9|");
}

TEST(DeltaDirectives, NamesCompareByTheirFirstThreeLetters) {
    std::vector<Directive> d = ReadDirectives(
        "ignored\r\n*SHOW ~ Title\r\n*CHAR TYPES 1,TE\r\n 2,RN\r\n"
        "*COMMENT DEPENDENT CHARACTERS 1,1:2\r\nnot *A directive\r\n*ITEMS x");
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].Name, "SHOW");
    EXPECT_EQ(d[0].Data, "~ Title\r\n");
    EXPECT_TRUE(IsDirective(d[1].Name, "CHARACTER TYPES"));
    EXPECT_EQ(d[1].Data, "1,TE\r\n 2,RN\r\n");
    EXPECT_EQ(d[1].Line, 3);
    EXPECT_FALSE(IsDirective(d[2].Name, "DEPENDENT CHARACTERS"));
    EXPECT_FALSE(IsDirective(d[3].Name, "ITEM DESCRIPTIONS"));
    EXPECT_FALSE(IsDirective("CHARACTER", "CHARACTER TYPES"));
}

TEST(DeltaDirectives, TextsEndAtASlashBeforeABlank) {
    const std::pair<const char*, const char*> cases[] = {
        {"pedicellate/sessile/ next", "pedicellate/sessile"},
        {"and/or stays/", "and/or stays"},
        {"in <a comment/ here> text/\n", "in <a comment/ here> text"},
        {"unclosed <comment/ to the end", "unclosed <comment/ to the end"},
        {"no slash # next record", "no slash "},
        {"no.#3 is text/", "no.#3 is text"},
    };
    for (const auto& [data, text] : cases) {
        size_t end = 0;
        TextEnd(data, 0, end);
        EXPECT_EQ(std::string_view(data).substr(0, end), text) << data;
    }
}

Dataset Read(DeltaFile file, const std::string& text) {
    Dataset dataset;
    ReadDeltaFile(file, FromDeltaBytes(text), "test", dataset);
    return dataset;
}

TEST(DeltaDirectives, CharacterListGivesTextsStatesAndUnits) {
    Dataset d =
        Read(DeltaFile::Chars,
             "*CHARACTER LIST\n#1. leaf <shape; see #2>/\n 1. ovate/\n 2. linear <long/ "
             "thin>/\n#2. length/\n mm/\n#3. <bare comment>/\n#x. broken/\n#4. last/ 1. a/");
    ASSERT_EQ(d.Characters.size(), 4u);
    EXPECT_EQ(d.Characters[0].Text, "leaf <shape; see #2>");
    ASSERT_EQ(d.Characters[0].Parts.size(), 2u);
    EXPECT_EQ(d.Characters[0].Parts[1].Number, 2);
    EXPECT_EQ(d.Characters[0].Parts[1].Text, "linear <long/ thin>");
    EXPECT_EQ(d.Characters[1].Parts[0].Number, 0);
    EXPECT_EQ(d.Characters[1].Parts[0].Text, "mm");
    EXPECT_EQ(d.Characters[2].Text, "<bare comment>");
    EXPECT_EQ(d.Characters[3].Number, 4);
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_EQ(d.Problems[0].rfind("test, line 8:", 0), 0u) << d.Problems[0];
}

TEST(DeltaDirectives, ItemsGiveAttributesWithCommentsAndVariants) {
    Dataset d = Read(DeltaFile::Items,
                     "*ITEM DESCRIPTIONS\n# Oat <L.>/\n1<syn.> 11<when present,>,3 4<oat-like>,2 "
                     "18<paired>\n2,1<rarely>/2 <after a blank>\n#+ Oat variant/ 2,3 x9 5,1\n");
    ASSERT_EQ(d.Items.size(), 2u);
    const std::vector<Attribute>& a = d.Items[0].Attributes;
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].Char, 1);
    EXPECT_EQ(a[0].Comments, "<syn.>");
    EXPECT_FALSE(a[0].HasValue);
    EXPECT_EQ(a[1].Comments, "<when present,>");
    EXPECT_EQ(a[1].Value, "3");
    EXPECT_EQ(a[2].Value, "2");
    EXPECT_FALSE(a[3].HasValue);
    EXPECT_EQ(a[4].Value, "1<rarely>/2<after a blank>");
    EXPECT_TRUE(d.Items[1].Variant);
    EXPECT_EQ(CleanText(d.Items[1].Name), "Oat variant");
    EXPECT_EQ(d.Items[1].Attributes.size(), 2u);  // "x9" is left out and reported
    ASSERT_EQ(d.Problems.size(), 1u);
    EXPECT_NE(d.Problems[0].find("\"x9\""), std::string::npos);
}

// A "<" that nothing closes before its character or item ends is text; a comment that
// holds "#" and closes on that line stays a comment.
TEST(DeltaDirectives, ALessThanThatNoGreaterThanClosesIsText) {
    Dataset c = Read(DeltaFile::Chars,
                     "*CHARACTER LIST\n#1. host range/ 1. few (<3) families susceptible/\n"
                     " 2. many <more than 3> families/\n#2. shape <see #1> <of < the <whole> "
                     "particle/\n 1. round/ 2. long/\n#3. length/ nm/\n");
    ASSERT_EQ(c.Characters.size(), 3u);
    EXPECT_EQ(CleanText(c.Characters[0].Parts[0].Text), "few (<3) families susceptible");
    EXPECT_EQ(CleanText(c.Characters[0].Parts[1].Text), "many families");
    EXPECT_EQ(CleanText(c.Characters[1].Text), "shape <of < the particle");
    EXPECT_EQ(c.Characters[1].Parts.size(), 2u);
    EXPECT_EQ(c.Characters[2].Number, 3);
    EXPECT_EQ(c.PlainLessLines, (std::vector<std::string>{"test, line 2", "test, line 4"}));
    EXPECT_TRUE(c.Problems.empty()) << c.Problems[0];

    Dataset i = Read(DeltaFile::Items,
                     "*ITEM DESCRIPTIONS\n# Virus (<3 hosts)/ 1,1 2,1\n"
                     "# Second/ 1,2 2,2<few\n# Third/ 1,1\n");
    ASSERT_EQ(i.Items.size(), 3u);
    EXPECT_EQ(CleanText(i.Items[0].Name), "Virus (<3 hosts)");
    EXPECT_EQ(i.Items[0].Attributes.size(), 2u);
    ASSERT_EQ(i.Items[1].Attributes.size(), 2u);
    EXPECT_EQ(CleanText(i.Items[1].Attributes[1].Value), "2<few");
    EXPECT_EQ(CleanText(i.Items[2].Name), "Third");
    EXPECT_EQ(i.PlainLessLines, (std::vector<std::string>{"test, line 2", "test, line 3"}));
}

TEST(DeltaDirectives, SpecsAndKeyStates) {
    Dataset s = Read(DeltaFile::Specs,
                     "*SHOW ~ Grasses - specifications.\n*CHARACTER TYPES 1,TE 2-3,RN 4,XX\n"
                     "*IMPLICIT VALUES 5-6,2\n*DEPENDENT CHARACTERS 10,2/3:11:13-14\n");
    EXPECT_EQ(CleanText(s.Show), "~ Grasses - specifications.");
    ASSERT_EQ(s.Types.size(), 2u);
    EXPECT_EQ(s.Types[1].first.Last, 3);
    EXPECT_EQ(s.Types[1].second, CharType::Real);
    EXPECT_EQ(s.Problems.size(), 1u);  // 4,XX
    ASSERT_EQ(s.ImplicitValues.size(), 1u);
    EXPECT_EQ(s.ImplicitValues[0].second, "2");
    ASSERT_EQ(s.Rules.size(), 1u);
    EXPECT_EQ(s.Rules[0].States.size(), 2u);
    EXPECT_EQ(s.Rules[0].Dependents[1].Last, 14);

    Dataset k = Read(DeltaFile::KeyStates,
                     "*KEY STATES 2,~2/2-5/5~ 8,1-3/4\n*USE NORMAL VALUES 2 26\n"
                     "*EXCLUDE CHARACTERS 78-86\n");
    ASSERT_EQ(k.KeyStates.size(), 2u);
    EXPECT_EQ(k.KeyStates[0].second, "~2/2-5/5~");
    EXPECT_EQ(k.NormalValues.size(), 2u);
    EXPECT_TRUE(k.Excluded[0].Contains(80));
}

}  // namespace
}  // namespace vorn::delta
