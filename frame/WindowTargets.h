#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace vorn {

struct IndexEntry;

// What the windows hand each other through the window registry: each a window kind's
// answer to being shown something.

class SubsetTarget {
public:
    virtual ~SubsetTarget() = default;
    // The index entry whose states the window lists: a copy of its own, since it outlives
    // the Index window the entry came from.
    virtual void SetSubsetEntry(const IndexEntry& entry) = 0;
};
class MissTarget {
public:
    virtual ~MissTarget() = default;
    // Caption: the window's design caption followed by `name`; the list follows `taxon`.
    virtual void SetMissTaxon(int taxon, const QString& name) = 0;
};
class ImageTarget {
public:
    virtual ~ImageTarget() = default;
    // Looks up, loads and lays out the picture; closes the window when the file is missing.
    virtual void ShowImage(const std::string& imageName) = 0;
};
class DifferencesTarget {
public:
    virtual ~DifferencesTarget() = default;
    // Chooses `taxon` as taxon A; the list of differences follows.
    virtual void SetTaxonA(int32_t taxon) = 0;
};
class HistoryTarget {
public:
    virtual ~HistoryTarget() = default;
    // Appends a state that now has a score, unless it is listed already.
    virtual void AddIndic(int32_t state) = 0;
};

}  // namespace vorn
