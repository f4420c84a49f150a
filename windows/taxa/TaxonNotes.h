#pragma once

namespace vorn {

class TIndicatorObj;
class TTextForm;

// Shows the notes of the taxon that `indicator` stands for, as every taxa window does.
// Nothing happens without an indicator or when its record names no notes file. The name
// is taken exactly as the record gives it ("\" read as a directory separator), relative
// to the current directory, which is the key's. When no such file exists the user is told
// so; otherwise a new text window, captioned "Notes:  " and the taxon's name, shows the
// file, and earlier text windows stay open. Returns that window, or null.
//
// A file that exists but cannot be read throws IoError for the general error handling;
// the new window then stays open and empty.
TTextForm* ShowTaxonNotes(const TIndicatorObj* indicator);

}  // namespace vorn
