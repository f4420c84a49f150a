#include "core/session/KeyCheckReport.h"

#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

std::string Taxon(int32_t t) {
    return std::to_string(t + 1) + ". " + SplitTaxonRecord(ReadTaxonName(t)).Text;
}

std::string State(int32_t s) {
    return std::to_string(s + 1) + ". " + ReadStateText(s);
}

template <class Items, class Line>
void List(std::vector<std::string>& lines, const std::string& heading, const Items& items,
          size_t cap, Line line) {
    lines.push_back("");
    lines.push_back(heading + (items.empty() ? " none." : ""));
    for (size_t i = 0; i < items.size() && i < cap; ++i)
        lines.push_back("  " + line(items[i]));
    if (items.size() > cap) {
        lines.push_back("  ... and " + std::to_string(items.size() - cap) + " more");
    }
}

}  // namespace

std::vector<std::string> KeyCheckLines(const KeyCheck& check, size_t cap) {
    std::vector<std::string> lines;
    lines.push_back(
        std::to_string(Key.TaxonCount) + " taxa, " + std::to_string(Key.StateCount) + " states: " +
        std::to_string(check.InseparablePairs.size()) + " pairs of taxa that no state separates, " +
        std::to_string(check.StatesNoTaxonHas.size()) + " states that no taxon has, " +
        std::to_string(check.StatesEveryTaxonHas.size()) + " states that every taxon has, " +
        std::to_string(check.TaxaWithoutPresent.size()) + " taxa without a state coded \"+\".");
    if (!check.Complete) {
        lines.push_back("Cancelled after " + std::to_string(check.TaxaDone) + " of " +
                        std::to_string(Key.TaxonCount) +
                        " taxa: the pairs below are those of the first " +
                        std::to_string(check.TaxaDone) + " taxa with every other taxon.");
    }
    List(lines, "Pairs of taxa that no state separates for certain:", check.InseparablePairs, cap,
         [](const std::pair<int32_t, int32_t>& p) {
             return Taxon(p.first) + "  /  " + Taxon(p.second);
         });
    List(lines, "States that no taxon has (no \"+\" or \"*\"):", check.StatesNoTaxonHas, cap,
         State);
    List(lines, "States that every taxon has (\"+\"):", check.StatesEveryTaxonHas, cap, State);
    List(lines, "Taxa without a state coded \"+\":", check.TaxaWithoutPresent, cap, Taxon);
    return lines;
}

}  // namespace vorn
