#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/RecordFile.h"

namespace vorn {

// The capacity of every per-state and per-taxon table. A key with more taxa or more
// states than this is refused when it is opened.
constexpr int32_t MaxKeyItems = 1200;

// Record sizes of the key's files.
constexpr int32_t TaxaPerRecord = 40;        // matrix file (.DAT), short taxon file (.TAX)
constexpr int32_t LongTaxonRecordSize = 80;  // taxon file in long form
constexpr int32_t StateRecordSize = 80;      // state file (.CHR)

// A taxon's code for a state, as TaxonCode returns it.
enum TaxonCodeValue : uint8_t {
    CodeUnknown = 0,   // "?"
    CodePresent = 1,   // "+"
    CodeAbsent = 2,    // "-"
    CodeVariable = 3,  // "*"
};

// Matrix bytes to codes. The key files hold only "?", "+", "-" and "*"; any other byte
// (a damaged or hand-edited matrix) reads as unknown, the one code that neither
// contradicts nor confirms anything.
constexpr std::array<uint8_t, 256> MakeCodeTable() {
    std::array<uint8_t, 256> table{};
    for (auto& code : table)
        code = CodeUnknown;
    table['+'] = CodePresent;
    table['-'] = CodeAbsent;
    table['*'] = CodeVariable;
    return table;
}
inline constexpr std::array<uint8_t, 256> CodeOfByte = MakeCodeTable();

// One record of the matrix file with the state it belongs to and the first taxon it
// covers; both -1 while it is empty.
struct MatrixRecord {
    std::array<uint8_t, TaxaPerRecord> Bytes{};
    int32_t State = -1;
    int32_t FirstTaxon = -1;
};

// The one open key. Opening fills it (core/session/OpenKey.h); closing empties the names and
// closes the files. The files are only ever read.
struct KeyRecord {
    bool KeyOpen = false;
    std::string KeyName;  // the .DES file's name without its extension, whole
    std::string DesFileName, TaxFileName, ChrFileName, DatFileName;
    std::string IndFileName;  // empty when the key has no index file
    int32_t TaxonCount = 0;
    int32_t StateCount = 0;
    bool LongTaxonNames = false;
    int32_t RecordsPerState = 1;

    RecordFile TaxonFile;   // 40-byte records, or 80-byte ones when LongTaxonNames
    RecordFile StateFile;   // 80-byte records
    RecordFile MatrixFile;  // 40-byte records
    MatrixRecord MatrixRecordCache;

    // Matrix records read since the program started, for tests and benchmarks.
    int64_t MatrixRecordsRead = 0;
};

inline KeyRecord Key;

// Opens the taxon file and decides its form from the first byte of its last whole
// 40-byte record: "$" means long form (80-byte records ending with a trailer). A file
// without one whole record of its form throws IoError naming the file, so the count of
// taxa is never negative.
void OpenTaxonFile(const std::string& fileName);

// The text of state `state` / the whole record of taxon `taxon`, without the blanks at
// its end. Indices are the caller's to keep within the key.
std::string ReadStateText(int32_t state);
std::string ReadTaxonName(int32_t taxon);

// The matrix record that holds the code of `taxon` for `state`, read through the
// one-record cache: a hit costs nothing, a miss one record read. The pointer stays
// valid until the next call. Byte (taxon mod 40) is the taxon's code character.
const uint8_t* MatrixRecordFor(int32_t state, int32_t taxon);

inline int TaxonCode(int32_t state, int32_t taxon) {
    return CodeOfByte[MatrixRecordFor(state, taxon)[taxon % TaxaPerRecord]];
}

// Forgets the cached record, so nothing read from one key is used for another.
void EmptyMatrixRecordCache();

}  // namespace vorn

namespace vorn {

// The fields of a taxon record: scientific name, then optionally "/" and the common
// name, "|" and the image name, ">" and the notes file name. The record is cut at the
// first ">" first, then at the first "|", then at the first "/"; so the notes part may
// itself hold "|" and "/". A field is absent (nullopt) when its separator is missing,
// present but empty when the separator ends its part.
struct TaxonRecordFields {
    std::string Text;
    std::optional<std::string> CommonName;
    std::optional<std::string> ImageName;
    std::optional<std::string> NotesName;
};
TaxonRecordFields SplitTaxonRecord(std::string_view record);

}  // namespace vorn
