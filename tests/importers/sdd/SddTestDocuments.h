#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vorn::sdd::testing {

// Pieces of SDD 1.1 documents for tests, written out in full where a test needs it.

inline std::string SddText(const std::string& dataset, const std::string& version = "1.1") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<Datasets xmlns=\"http://rs.tdwg.org/UBIF/2006/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xsi:schemaLocation=\"http://rs.tdwg.org/UBIF/2006/ "
           "http://rs.tdwg.org/UBIF/2006/Schema/" +
           version + "/SDD.xsd\">\n<Dataset xml:lang=\"en\">\n" + dataset +
           "</Dataset>\n</Datasets>\n";
}

inline std::string Labelled(const std::string& label, const std::string& more = "") {
    return "<Representation><Label>" + label + "</Label>" + more + "</Representation>";
}

// A categorical character with states (id, label).
inline std::string Categorical(const std::string& id, const std::string& label,
                               const std::vector<std::pair<std::string, std::string>>& states) {
    std::string xml = "<CategoricalCharacter id=\"" + id + "\">" + label + "<States>";
    for (const auto& [state, text] : states)
        xml += "<StateDefinition id=\"" + state + "\">" + Labelled(text) + "</StateDefinition>";
    return xml + "</States></CategoricalCharacter>\n";
}

inline std::string CodedDescription(const std::string& label, const std::string& taxon,
                                    const std::string& summary, const std::string& media = "") {
    return "<CodedDescription id=\"D" + label + "\">" + Labelled(label, media) +
           (taxon.empty() ? "" : "<Scope><TaxonName ref=\"" + taxon + "\"/></Scope>") +
           "<SummaryData>" + summary + "</SummaryData></CodedDescription>\n";
}

// Birds: every construct of the mapping once. Characters, in order: colour (states Ng
// red, ng green, s3 blue: ids differ only in case), wings (w1 present, w2 absent),
// wing colour (inapplicable if wings absent), tail (only applicable if wings present),
// length (cm, quantitative), habitat (text).
inline std::string Birds() {
    return SddText(
        "<Representation><Label>Birds of the &lt;i&gt;North&lt;/i&gt;&amp;nbsp;Sea</Label>"
        "</Representation>\n"
        "<IPRStatements><IPRStatement role=\"Copyright\"><Label xml:lang=\"ru\">x</Label>"
        "<Label xml:lang=\"en\">&amp;#169; 2020 Me</Label></IPRStatement></IPRStatements>\n"
        "<TaxonNames><TaxonName id=\"t1\">" +
        Labelled("Erithacus rubecula") + "</TaxonName><TaxonName id=\"t2\">" +
        Labelled("Corvus corone") + "</TaxonName></TaxonNames>\n<Characters>\n" +
        Categorical("c1",
                    "<Representation><Label xml:lang=\"ru\">\xD0\xA6\xD0\xB2\xD0\xB5\xD1\x82"
                    "</Label><Label>colour</Label></Representation>",
                    {{"Ng", "red"}, {"ng", "green"}, {"s3", "blue"}}) +
        Categorical("c2",
                    "<Representation><Label xml:lang=\"de\">Fl\xC3\xBCgel</Label>"
                    "<Label xml:lang=\"en\">wings</Label></Representation>",
                    {{"w1", "present"}, {"w2", "absent"}}) +
        Categorical("c3", Labelled("wing colour"), {{"d1", "dark"}, {"d2", "pale"}}) +
        Categorical("c4", Labelled("tail"), {{"l1", "long"}, {"l2", "short"}}) +
        "<QuantitativeCharacter id=\"c5\">" + Labelled("length") +
        "<MeasurementUnit><Label>cm</Label></MeasurementUnit></QuantitativeCharacter>\n"
        "<TextCharacter id=\"c6\">" +
        Labelled("habitat") +
        "</TextCharacter>\n</Characters>\n"
        "<CharacterTrees><CharacterTree><Nodes>"
        "<CharNode><DependencyRules><InapplicableIf><State ref=\"w2\"/></InapplicableIf>"
        "</DependencyRules><Character ref=\"c3\"/></CharNode>"
        "<CharNode><DependencyRules><OnlyApplicableIf><State ref=\"w1\"/></OnlyApplicableIf>"
        "</DependencyRules><Character ref=\"c4\"/></CharNode>"
        "</Nodes></CharacterTree></CharacterTrees>\n"
        "<DescriptiveConcepts><DescriptiveConcept id=\"dc\"><Modifiers>"
        "<Modifier id=\"rarely\">" +
        Labelled("rarely") +
        "<ModifierClass>Frequency</ModifierClass>"
        "<ProportionRange lowerestimate=\"0\" upperestimate=\".05\"/></Modifier>"
        "<Modifier id=\"never\">" +
        Labelled("never") +
        "<ProportionRange lowerestimate=\"0\" upperestimate=\"0\"/></Modifier>"
        "<Modifier id=\"not\">" +
        Labelled("probably not") +
        "<ModifierClass>Certainty</ModifierClass></Modifier>"
        "</Modifiers></DescriptiveConcept></DescriptiveConcepts>\n<CodedDescriptions>\n" +
        CodedDescription("Robin", "t1",
                         "<Categorical ref=\"c1\"><State ref=\"Ng\"/></Categorical>"
                         "<Categorical ref=\"c2\"><State ref=\"w1\"/></Categorical>"
                         "<Categorical ref=\"c3\"><State ref=\"d1\"/></Categorical>"
                         "<Quantitative ref=\"c5\"><Measure type=\"Min\" value=\"10\"/>"
                         "<Measure type=\"Max\" value=\"14\"/></Quantitative>"
                         "<TextChar ref=\"c6\"><Content>gardens</Content></TextChar>") +
        CodedDescription(
            "Crow", "t2",
            "<Categorical ref=\"c1\"><State ref=\"Ng\"/><State ref=\"ng\"/></Categorical>"
            "<Categorical ref=\"c2\"><State ref=\"w2\"/></Categorical>"
            "<Quantitative ref=\"c5\"><Measure type=\"UMethLower\" value=\"40\"/>"
            "<Measure type=\"UMethUpper\" value=\"50\"/></Quantitative>") +
        CodedDescription(
            "Puffin", "",
            "<Categorical ref=\"c1\"><State ref=\"s3\"><Modifier ref=\"rarely\"/>"
            "</State><State ref=\"Ng\"><Modifier ref=\"never\"/></State></Categorical>"
            "<Categorical ref=\"c2\"><Status code=\"DataUnavailable\"/></Categorical>"
            "<Quantitative ref=\"c5\"><Measure type=\"Mean\" value=\"30\"/></Quantitative>") +
        CodedDescription("Ghost", "",
                         "<Categorical ref=\"c1\"><Status code=\"NotApplicable\"/></Categorical>"
                         "<Categorical ref=\"c2\"><State ref=\"w2\"/></Categorical>"
                         "<Categorical ref=\"c3\"><State ref=\"d2\"/></Categorical>") +
        CodedDescription("Doubt", "",
                         "<Categorical ref=\"c1\"><State ref=\"Ng\"><Modifier ref=\"not\"/></State>"
                         "</Categorical><Categorical ref=\"c2\"><Ratings><Rating rating=\"R\"/>"
                         "</Ratings></Categorical>"
                         "<Categorical ref=\"c9\"><State ref=\"Ng\"/></Categorical>") +
        "</CodedDescriptions>\n");
}

}  // namespace vorn::sdd::testing
