#pragma once

namespace vorn {

class TTextForm;

// Checks the open key under a progress dialog whose Cancel stops the check, the program
// answering all the while, and shows what it found in a new text window captioned
// "Key Check: " and the key's name; earlier ones stay open. Nothing without a key open,
// or when the key closed meanwhile. Returns the window, or null.
TTextForm* ShowKeyCheck();

}  // namespace vorn
