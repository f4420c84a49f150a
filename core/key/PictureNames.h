#pragma once

#include <string>
#include <string_view>

namespace vorn {

// The files a picture name of a key stands for (a taxon record's "|" field, an index
// entry's). Names are as the key writes them, "\" between folders.

// The JPEG picture the Image window shows: the name in capitals with ".JPG" ("pics\oak"
// gives "PICS\OAK.JPG"); letter case is forgiven when the file is looked up.
std::string JpegFileName(std::string_view imageName);

// The taxon's numbered GIF picture `number` (from 1): the name, the number in at least
// two digits, and ".GIF" ("QALBA09.GIF", "QALBA100.GIF"). A taxon's GIFs run from 1 to
// the first number that has no file.
std::string GifFileName(const std::string& imageName, int number);

}  // namespace vorn
