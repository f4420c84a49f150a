#include "importers/sdd/SddDocument.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <cmath>

namespace vorn::sdd {
namespace {

constexpr const char* kNamespace = "http://rs.tdwg.org/UBIF/2006/";

struct LabelText {
    QString Lang;
    bool HasLang = false;
    std::string Text;
};

// Squeezed blanks, HTML tags taken out and its common entities decoded.
std::string CleanLabel(const QString& raw) {
    QString text;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QChar c = raw[i];
        if (c == '<' && i + 1 < raw.size() && (raw[i + 1].isLetter() || raw[i + 1] == '/')) {
            qsizetype end = raw.indexOf('>', i);
            if (end > 0) {
                text += ' ';
                i = end;
                continue;
            }
        }
        if (c == '&') {
            qsizetype end = raw.indexOf(';', i);
            if (end > i && end - i <= 10) {
                QString name = raw.mid(i + 1, end - i - 1);
                static const std::pair<const char*, char16_t> kEntities[] = {
                    {"nbsp", 0xA0},    {"amp", '&'},      {"lt", '<'},       {"gt", '>'},
                    {"quot", '"'},     {"apos", '\''},    {"deg", 0xB0},     {"micro", 0xB5},
                    {"plusmn", 0xB1},  {"times", 0xD7},   {"copy", 0xA9},    {"reg", 0xAE},
                    {"middot", 0xB7},  {"frac12", 0xBD},  {"ndash", 0x2013}, {"mdash", 0x2014},
                    {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C}, {"rdquo", 0x201D},
                    {"hellip", 0x2026}};
                char32_t decoded = 0;
                for (const auto& [entity, character] : kEntities) {
                    if (name == QLatin1String(entity)) decoded = character;
                }
                bool ok = false;
                if (name.startsWith("#x") || name.startsWith("#X")) {
                    decoded = name.mid(2).toUInt(&ok, 16);
                } else if (name.startsWith('#')) {
                    decoded = name.mid(1).toUInt(&ok, 10);
                }
                if (decoded >= 0x20 && decoded <= 0x10FFFF &&
                    (decoded < 0xD800 || decoded > 0xDFFF)) {
                    text += QString::fromUcs4(&decoded, 1);
                    i = end;
                    continue;
                }
            }
        }
        text += c.isSpace() && c != QChar(0xA0) ? QChar(' ') : c;
    }
    return text.simplified().toStdString();
}

// A modifier denies its state when no proportion is left for it ("never") or its words
// end in a negation ("not", "probably not", "not seen").
bool Denies(const std::string& label, const QString& upper) {
    bool ok = false;
    if (!upper.isEmpty() && upper.toDouble(&ok) == 0 && ok) return true;
    QString words = QString::fromStdString(label).toLower();
    words.remove('(').remove(')');
    QStringList list = words.split(' ', Qt::SkipEmptyParts);
    if (list.isEmpty()) return false;
    return list.last() == "not" || list.last() == "never" || words == "not seen" ||
           words == "none seen";
}

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : xml_(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))) {}

    Document Run() {
        if (!xml_.readNextStartElement()) {
            doc_.Refusal = "not an XML document" + Where();
            return std::move(doc_);
        }
        QString root = xml_.name().toString();
        QString schema = xml_.attributes()
                             .value("http://www.w3.org/2001/XMLSchema-instance", "schemaLocation")
                             .toString();
        if (root != "Datasets") {
            doc_.Refusal = "the document's root is <" + root.toStdString() +
                           ">, not the <Datasets> of an SDD document";
            return std::move(doc_);
        }
        if (schema.contains("/1.0/") || xml_.namespaceUri() != QLatin1String(kNamespace)) {
            doc_.Refusal =
                "this is not an SDD 1.1 document (SDD 1.0 or another namespace); "
                "export it as SDD 1.1";
            return std::move(doc_);
        }
        bool read = false;
        while (xml_.readNextStartElement()) {
            if (Is("Dataset") && !read) {
                ReadDataset();
                read = true;
            } else {
                if (Is("Dataset")) doc_.Problems.push_back("only the first dataset is read");
                xml_.skipCurrentElement();
            }
        }
        if (xml_.hasError()) {
            doc_.Refusal = "the XML cannot be read: " + xml_.errorString().toStdString() + Where();
        } else if (!read) {
            doc_.Refusal = "the document holds no <Dataset>";
        }
        for (Description& d : doc_.Descriptions) {
            auto name = taxonNames_.find(d.TaxonName);
            d.TaxonName = name == taxonNames_.end() ? std::string() : name->second;
        }
        return std::move(doc_);
    }

private:
    bool Is(const char* name) const { return xml_.name() == QLatin1String(name); }

    std::string Attribute(const char* name) const {
        return xml_.attributes().value(QLatin1String(name)).toString().toStdString();
    }

    std::string Where() const {
        return xml_.lineNumber() > 0 ? " (line " + std::to_string(xml_.lineNumber()) + ")"
                                     : std::string();
    }

    std::string Choose(const std::vector<LabelText>& labels) const {
        for (const LabelText& l : labels)
            if (l.HasLang && l.Lang == lang_) return l.Text;
        for (const LabelText& l : labels)
            if (!l.HasLang) return l.Text;
        return labels.empty() ? std::string() : labels.front().Text;
    }

    LabelText ReadLabel() {
        LabelText label;
        label.HasLang =
            xml_.attributes().hasAttribute("http://www.w3.org/XML/1998/namespace", "lang");
        label.Lang =
            xml_.attributes().value("http://www.w3.org/XML/1998/namespace", "lang").toString();
        label.Text = CleanLabel(xml_.readElementText(QXmlStreamReader::IncludeChildElements));
        return label;
    }

    // At <Representation>: its label, and the refs of its MediaObjects into `media`.
    std::string ReadRepresentation(std::vector<std::string>* media = nullptr) {
        std::vector<LabelText> labels;
        while (xml_.readNextStartElement()) {
            if (Is("Label")) {
                labels.push_back(ReadLabel());
            } else if (Is("MediaObject") && media) {
                media->push_back(Attribute("ref"));
                xml_.skipCurrentElement();
            } else {
                xml_.skipCurrentElement();
            }
        }
        return Choose(labels);
    }

    void ReadDataset() {
        lang_ = xml_.attributes().value("http://www.w3.org/XML/1998/namespace", "lang").toString();
        while (xml_.readNextStartElement()) {
            if (Is("Representation")) {
                doc_.Label = ReadRepresentation();
            } else if (Is("IPRStatements")) {
                ForEachChild("IPRStatement", [&] {
                    std::vector<LabelText> labels;
                    while (xml_.readNextStartElement()) {
                        if (Is("Label")) {
                            labels.push_back(ReadLabel());
                        } else {
                            xml_.skipCurrentElement();
                        }
                    }
                    std::string text = Choose(labels);
                    if (!text.empty()) doc_.Rights.push_back(text);
                });
            } else if (Is("TaxonNames")) {
                ForEachChild("TaxonName", [&] {
                    std::string id = Attribute("id");
                    std::string label = ReadChildRepresentation();
                    taxonNames_.emplace(id, label);
                });
            } else if (Is("Characters")) {
                ReadCharacters();
            } else if (Is("CharacterTrees")) {
                ForEachChild("CharacterTree", [&] { ReadTree(); });
            } else if (Is("DescriptiveConcepts")) {
                ForEachChild("DescriptiveConcept", [&] {
                    while (xml_.readNextStartElement()) {
                        if (Is("Modifiers")) {
                            ForEachChild("Modifier", [&] { ReadModifier(); });
                        } else {
                            xml_.skipCurrentElement();
                        }
                    }
                });
            } else if (Is("Modifiers")) {
                ForEachChild("Modifier", [&] { ReadModifier(); });
            } else if (Is("CodedDescriptions")) {
                ForEachChild("CodedDescription", [&] { ReadDescription(); });
            } else if (Is("MediaObjects")) {
                ForEachChild("MediaObject", [&] { ReadMediaObject(); });
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    // Calls `read` at each child element `name` (which must read to its end); skips the
    // others.
    template <class Read>
    void ForEachChild(const char* name, Read read) {
        while (xml_.readNextStartElement()) {
            if (Is(name)) {
                read();
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    // The label of the element's Representation; reads the element to its end.
    std::string ReadChildRepresentation(std::vector<std::string>* media = nullptr) {
        std::string label;
        ForEachChild("Representation", [&] { label = ReadRepresentation(media); });
        return label;
    }

    void ReadCharacters() {
        while (xml_.readNextStartElement()) {
            Character c;
            if (Is("CategoricalCharacter")) {
                c.Kind = CharacterKind::Categorical;
            } else if (Is("QuantitativeCharacter")) {
                c.Kind = CharacterKind::Quantitative;
            } else if (Is("TextCharacter")) {
                c.Kind = CharacterKind::Text;
            } else {
                xml_.skipCurrentElement();
                continue;
            }
            c.Id = Attribute("id");
            while (xml_.readNextStartElement()) {
                if (Is("Representation")) {
                    c.Label = ReadRepresentation(&c.MediaRefs);
                } else if (Is("States")) {
                    ForEachChild("StateDefinition", [&] {
                        State s;
                        s.Id = Attribute("id");
                        s.Label = ReadChildRepresentation();
                        c.States.push_back(std::move(s));
                    });
                } else if (Is("MeasurementUnit")) {
                    std::vector<LabelText> labels;
                    ForEachChild("Label", [&] { labels.push_back(ReadLabel()); });
                    c.Unit = Choose(labels);
                } else if (Is("Assumptions")) {
                    ForEachChild("ValuesAreInteger",
                                 [&] { c.Integer = xml_.readElementText().trimmed() == "true"; });
                } else {
                    xml_.skipCurrentElement();
                }
            }
            doc_.Characters.push_back(std::move(c));
        }
    }

    void ReadTree() {
        while (xml_.readNextStartElement()) {
            if (!Is("Nodes")) {
                xml_.skipCurrentElement();
                continue;
            }
            ForEachChild("CharNode", [&] {
                std::vector<DependencyRule> rules;
                std::string character;
                while (xml_.readNextStartElement()) {
                    if (Is("DependencyRules")) {
                        while (xml_.readNextStartElement()) {
                            DependencyRule rule;
                            if (Is("InapplicableIf") || Is("OnlyApplicableIf")) {
                                rule.OnlyApplicable = Is("OnlyApplicableIf");
                                ForEachChild("State", [&] {
                                    rule.States.push_back(Attribute("ref"));
                                    xml_.skipCurrentElement();
                                });
                                rules.push_back(std::move(rule));
                            } else {
                                xml_.skipCurrentElement();
                            }
                        }
                    } else if (Is("Character")) {
                        character = Attribute("ref");
                        xml_.skipCurrentElement();
                    } else {
                        xml_.skipCurrentElement();
                    }
                }
                for (DependencyRule& rule : rules) {
                    rule.Dependent = character;
                    doc_.Rules.push_back(std::move(rule));
                }
            });
        }
    }

    void ReadModifier() {
        std::string id = Attribute("id");
        Modifier m;
        QString upper;
        while (xml_.readNextStartElement()) {
            if (Is("Representation")) {
                m.Label = ReadRepresentation();
            } else if (Is("ProportionRange")) {
                upper = xml_.attributes().value("upperestimate").toString();
                xml_.skipCurrentElement();
            } else {
                xml_.skipCurrentElement();
            }
        }
        m.Denies = Denies(m.Label, upper);
        doc_.Modifiers.emplace(id, std::move(m));
    }

    void ReadDescription() {
        Description d;
        while (xml_.readNextStartElement()) {
            if (Is("Representation")) {
                d.Label = ReadRepresentation(&d.MediaRefs);
            } else if (Is("Scope")) {
                ForEachChild("TaxonName", [&] {
                    if (d.TaxonName.empty()) d.TaxonName = Attribute("ref");
                    xml_.skipCurrentElement();
                });
            } else if (Is("SummaryData")) {
                while (xml_.readNextStartElement()) {
                    Entry e;
                    if (Is("Categorical")) {
                        e.Kind = CharacterKind::Categorical;
                    } else if (Is("Quantitative")) {
                        e.Kind = CharacterKind::Quantitative;
                    } else if (Is("TextChar")) {
                        e.Kind = CharacterKind::Text;
                    } else {
                        xml_.skipCurrentElement();
                        continue;
                    }
                    e.Character = Attribute("ref");
                    ReadEntry(e);
                    d.Entries.push_back(std::move(e));
                }
            } else {
                xml_.skipCurrentElement();
            }
        }
        doc_.Descriptions.push_back(std::move(d));
    }

    void ReadEntry(Entry& e) {
        while (xml_.readNextStartElement()) {
            if (Is("Status")) {
                e.Status = Attribute("code");
                xml_.skipCurrentElement();
            } else if (Is("State")) {
                StateValue v;
                v.State = Attribute("ref");
                ForEachChild("Modifier", [&] {
                    v.Modifiers.push_back(Attribute("ref"));
                    xml_.skipCurrentElement();
                });
                e.States.push_back(std::move(v));
            } else if (Is("Measure")) {
                Measure m;
                m.Type = Attribute("type");
                bool ok = false;
                m.Value = xml_.attributes().value("value").toDouble(&ok);
                if (ok && std::isfinite(m.Value)) {
                    e.Measures.push_back(std::move(m));
                } else {
                    doc_.Problems.push_back("a measure of character " + e.Character +
                                            " is not a number" + Where());
                }
                xml_.skipCurrentElement();
            } else if (Is("Content")) {
                e.Text = CleanLabel(xml_.readElementText(QXmlStreamReader::IncludeChildElements));
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    void ReadMediaObject() {
        std::string id = Attribute("id");
        MediaObject m;
        while (xml_.readNextStartElement()) {
            if (Is("Representation")) {
                m.Label = ReadRepresentation();
            } else if (Is("Type")) {
                m.Type = xml_.readElementText().trimmed().toStdString();
            } else if (Is("Source")) {
                m.Href = Attribute("href");
                xml_.skipCurrentElement();
            } else {
                xml_.skipCurrentElement();
            }
        }
        doc_.Media.emplace(id, std::move(m));
    }

    QXmlStreamReader xml_;
    Document doc_;
    QString lang_;
    std::map<std::string, std::string> taxonNames_;
};

}  // namespace

Document ReadSddDocument(std::string_view bytes) {
    return Reader(bytes).Run();
}

}  // namespace vorn::sdd
