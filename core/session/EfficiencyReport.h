#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "core/engine/Efficiency.h"
#include "core/key/KeyFiles.h"

namespace vorn {

// The most taxa left with an unreached one that a line of the report names.
constexpr size_t kEfficiencyLeftNamed = 10;

// A measure of the efficiency of `key` as the Key Check window and vorn-identify
// --efficiency show it: the number of taxa and log2 of it, which taxa were played and at
// what tolerance; then for the Best and the Differentiating order the mean, median and
// largest number of answers and the taxa reached alone, and the taxa not reached, each
// with at most kEfficiencyLeftNamed of the taxa left with it; at most `listLines` of them,
// then "... and N more". Taxa by number (from 1) and name, read from the key's files (may
// throw IoError); in the key's bytes.
std::string EfficiencyText(KeyRecord& key, const Efficiency& efficiency,
                           size_t listLines = std::numeric_limits<size_t>::max());

// A number of answers as the report and the JSON give it: at most `decimals` decimals,
// without trailing zeros ("4.97", "5", "15.5").
std::string AnswerFigure(double value, int decimals = 2);

}  // namespace vorn
