#pragma once

namespace vorn {

class TTextForm;

// Checks the open key under a progress dialog whose Cancel stops the check, the program
// answering all the while, and shows what it found in a new text window captioned
// "Key Check: " and the key's name; earlier ones stay open. Nothing without a key open,
// or when the key closed meanwhile. Returns the window, or null.
//
// The window's "Measure efficiency" button plays every taxon of the key as the specimen
// (core/engine/Efficiency.h) at the tolerance in force, under a progress dialog of its
// own, and adds the figures below the check; a cancelled measure adds nothing. Once the
// key the window was made for has closed, the button only says so.
TTextForm* ShowKeyCheck();

}  // namespace vorn
