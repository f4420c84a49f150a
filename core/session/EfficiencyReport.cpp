#include "core/session/EfficiencyReport.h"

#include <algorithm>
#include <cstdio>

#include "core/key/KeyFiles.h"

namespace vorn {
namespace {

std::string TaxonLine(KeyRecord& key, int32_t taxon) {
    return std::to_string(taxon + 1) + ". " + SplitTaxonRecord(key.ReadTaxonName(taxon)).Text;
}

void AddOrder(std::string& text, KeyRecord& key, const char* name, const EfficiencyOrder& order,
              size_t played, size_t listLines) {
    text += "\nAnswers in the " + std::string(name) + " order: mean " + AnswerFigure(order.Mean) +
            ", median " + AnswerFigure(order.Median) + ", largest " + std::to_string(order.Max) +
            ". Reached alone: " + std::to_string(order.Reached) + " of " + std::to_string(played) +
            ".\n";
    text += "Taxa not reached in the " + std::string(name) +
            " order, with the taxa left with them: " + std::to_string(order.NotReached.size()) +
            "\n";
    if (order.NotReached.empty()) text += "  (none)\n";
    size_t shown = std::min(order.NotReached.size(), listLines);
    for (size_t i = 0; i < shown; ++i) {
        std::vector<int32_t> left = order.LeftWith(i);
        text += "  " + TaxonLine(key, order.NotReached[i].Taxon) + "  with  ";
        size_t named = std::min(left.size(), kEfficiencyLeftNamed);
        for (size_t j = 0; j < named; ++j)
            text += (j ? ", " : "") + TaxonLine(key, left[j]);
        if (left.size() > named) text += " and " + std::to_string(left.size() - named) + " more";
        text += "\n";
    }
    if (order.NotReached.size() > shown)
        text += "  ... and " + std::to_string(order.NotReached.size() - shown) + " more\n";
}

}  // namespace

std::string AnswerFigure(double value, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string figure = buffer;
    if (figure.find('.') != std::string::npos) {
        figure.erase(figure.find_last_not_of('0') + 1);
        if (figure.back() == '.') figure.pop_back();
    }
    return figure;
}

std::string EfficiencyText(KeyRecord& key, const Efficiency& efficiency, size_t listLines) {
    const std::string taxa = std::to_string(efficiency.Taxa);
    std::string text = "Taxa " + taxa + "; log2 " + taxa + " = " +
                       AnswerFigure(efficiency.Log2Taxa) +
                       ", the fewest yes/no answers that can single out one taxon.\n";
    const std::string tolerance = std::to_string(efficiency.Tolerance);
    if (efficiency.Sampled) {
        text += std::to_string(efficiency.Played.size()) + " of " + taxa +
                " taxa played as the specimen, drawn with seed " + std::to_string(efficiency.Seed) +
                ", at tolerance " + tolerance + ".\n";
    } else {
        text += "Every taxon played as the specimen, at tolerance " + tolerance + ".\n";
    }
    if (!efficiency.Complete) return text + "Cancelled: no figures.\n";
    AddOrder(text, key, "Best", efficiency.Best, efficiency.Played.size(), listLines);
    AddOrder(text, key, "Differentiating", efficiency.Differentiating, efficiency.Played.size(),
             listLines);
    return text;
}

}  // namespace vorn
