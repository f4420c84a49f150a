// The web engine's interface for JavaScript: WebSession, as the page and the browser tests
// call it (HACKING.md lists every function). Lists come as typed arrays, copied out of the
// engine's memory, so the page holds nothing that a later action could change under it.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/session/Session.h"
#include "web/WebSession.h"

namespace vorn::web {
namespace {

using emscripten::val;

template <class T>
val Array(const char* type, const std::vector<T>& values) {
    return val::global(type).new_(emscripten::typed_memory_view(values.size(), values.data()));
}

val Ints(const std::vector<int32_t>& values) {
    return Array("Int32Array", values);
}

val Strings(const std::vector<std::string>& texts) {
    val array = val::array();
    for (const std::string& text : texts)
        array.call<void>("push", val(text));
    return array;
}

// The page streams key/codes.bin straight into the planes BeginCodes makes room for
// (HEAPU8.set at codesAt()): a large key's 25 MB are copied once, where a typed array
// handed over as a std::string would be copied a byte at a time, and then again.
double BeginCodes(WebSession& web, const std::string& header) {
    return static_cast<double>(web.BeginCodes(header));
}
uintptr_t CodesAt(WebSession& web) {
    return reinterpret_cast<uintptr_t>(web.CodesAt());
}
bool EndCodes(WebSession& web, const std::string& name, double received) {
    return web.EndCodes(name, received >= 0 ? static_cast<uint64_t>(received) : 0);
}

int32_t TaxonCount(WebSession& web) {
    return web.Core().Key.TaxonCount;
}
int32_t StateCount(WebSession& web) {
    return web.Core().Key.StateCount;
}
int Tolerance(WebSession& web) {
    return web.Core().Tolerance();
}
bool OrMode(WebSession& web) {
    return web.Core().OrMode();
}
int32_t MatchingCount(WebSession& web) {
    return web.Core().MatchingTaxaCount();
}
int32_t CountedCount(WebSession& web) {
    return web.Core().CountedTaxaCount();
}
val MatchingTaxa(WebSession& web) {
    return Ints(web.MatchingTaxa());
}
val Scores(WebSession& web) {
    std::vector<uint8_t> scores;
    for (int32_t s = 0; s < web.Core().Key.StateCount; ++s)
        scores.push_back(web.Core().StateScore(s));
    return Array("Uint8Array", scores);
}
val Mismatches(WebSession& web) {
    std::vector<int32_t> counts;
    for (int32_t t = 0; t < web.Core().Key.TaxonCount; ++t)
        counts.push_back(web.Core().TaxonMismatchCount(t));
    return Ints(counts);
}
val StateCounts(WebSession& web) {
    return Ints(web.StateCounts());
}
val DifferentiatingStates(WebSession& web) {
    return Ints(web.Core().DifferentiatingStates());
}
val TaxaByMismatches(WebSession& web) {
    return Ints(web.Core().TaxaByMismatches());
}
// {states, values}: the Best window's order and each state's separation.
val BestStates(WebSession& web) {
    std::vector<int32_t> states;
    std::vector<double> values;
    for (const StateSeparation& best : web.Core().BestStates()) {
        states.push_back(best.State);
        values.push_back(best.Separation);
    }
    val result = val::object();
    result.set("states", Ints(states));
    result.set("values", Array("Float64Array", values));
    return result;
}
// {certain, possible}; nothing for a taxon outside the key.
val Differences(WebSession& web, int32_t a, int32_t b) {
    TaxonDifferences differences;
    int32_t taxa = web.Core().Key.TaxonCount;
    if (a >= 0 && a < taxa && b >= 0 && b < taxa) differences = web.Core().Differences(a, b);
    val result = val::object();
    result.set("certain", Ints(differences.Certain));
    result.set("possible", Ints(differences.Possible));
    return result;
}
// A taxon's code for a state: 0 "?", 1 "+", 2 "-", 3 "*"; -1 outside the key.
int Code(WebSession& web, int32_t state, int32_t taxon) {
    const KeyRecord& key = web.Core().Key;
    if (state < 0 || state >= key.StateCount || taxon < 0 || taxon >= key.TaxonCount) return -1;
    return key.TaxonCode(state, taxon);
}
val ContradictingStates(WebSession& web, int32_t taxon) {
    return Ints(web.ContradictingStates(taxon));
}
val Groups(WebSession& web) {
    val groups = val::array();
    for (const std::vector<int32_t>& members : web.Groups())
        groups.call<void>("push", Ints(members));
    return groups;
}
val TakeMessages(WebSession& web) {
    return Strings(web.TakeMessages());
}

}  // namespace
}  // namespace vorn::web

EMSCRIPTEN_BINDINGS(vorn_web) {
    using namespace vorn::web;
    emscripten::class_<WebSession>("WebSession")
        .constructor<>()
        .function("beginCodes", &BeginCodes)
        .function("codesAt", &CodesAt)
        .function("endCodes", &EndCodes)
        .function("keyOpen", &WebSession::KeyOpen)
        .function("taxonCount", &TaxonCount)
        .function("stateCount", &StateCount)
        .function("act", &WebSession::Act)
        .function("undo", &WebSession::Undo)
        .function("redo", &WebSession::Redo)
        .function("setTolerance", &WebSession::SetTolerance)
        .function("tolerance", &Tolerance)
        .function("orMode", &OrMode)
        .function("loadHistoryList", &WebSession::LoadHistoryList)
        .function("historyListText", &WebSession::HistoryListText)
        .function("address", &WebSession::Address)
        .function("restore", &WebSession::Restore)
        .function("navigate", &WebSession::Navigate)
        .function("takeMessages", &TakeMessages)
        .function("nextUndo", &WebSession::NextUndo)
        .function("nextRedo", &WebSession::NextRedo)
        .function("nextUndoState", &WebSession::NextUndoState)
        .function("nextRedoState", &WebSession::NextRedoState)
        .function("matchingCount", &MatchingCount)
        .function("countedCount", &CountedCount)
        .function("matchingTaxa", &MatchingTaxa)
        .function("scores", &Scores)
        .function("mismatches", &Mismatches)
        .function("stateCounts", &StateCounts)
        .function("differentiatingStates", &DifferentiatingStates)
        .function("taxaByMismatches", &TaxaByMismatches)
        .function("bestStates", &BestStates)
        .function("differences", &Differences)
        .function("code", &Code)
        .function("contradictingStates", &ContradictingStates)
        .function("groups", &Groups);
}
