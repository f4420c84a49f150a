// Writes the keys the browser tests publish: one whose texts are markup and script (they
// must show as the characters they are), and a synthetic key of 1,000 x 1,000 without an
// index (all states in one list), or of N x N.
//
//   vorn-web-test-keys DIR [N]     writes DIR/hostile/HOSTILE.DES and DIR/synth/SYNTH.DES
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "bench/SyntheticKeys.h"
#include "tests/kit/TestKeys.h"

int main(int argc, char** argv) {
    int size = argc == 3 ? std::atoi(argv[2]) : 1000;
    if (argc < 2 || argc > 3 || size < 1 || size > 65535) {
        std::cerr << "usage: vorn-web-test-keys DIR [N]\n";
        return 2;
    }
    namespace fs = std::filesystem;
    std::string dir = argv[1];
    fs::create_directories(dir + "/hostile");
    fs::create_directories(dir + "/synth");

    vorn::testing::KeySpec hostile;
    hostile.Name = "HOSTILE";
    hostile.LongTaxonNames = true;
    hostile.TitleLines = {"<script>alert(1)</script> Hostile key", "<img src=x onerror=alert(2)>",
                          "Text &amp; entities &lt;b&gt; stay text"};
    // ">" begins a record's notes name, so the first name is what stands before it.
    hostile.Taxa = {"<img src=x onerror=alert(1)>", "Plain taxon/<i onclick=alert(7)",
                    "\"quoted\" & 'taxon'>NOTES.TXT"};
    hostile.States = {"<img src=x onerror=alert(1)>", "<svg onload=alert(3)>",
                      "javascript:alert(4)"};
    hostile.Codes = {"+-+", "-++", "*?-"};
    hostile.Index = "1 40 2\r\n<b>heading</b>\r\n1\r\n<img src=x onerror=alert(5)>\r\n1 3\r\n";
    vorn::testing::WriteKey(dir + "/hostile", hostile);
    vorn::testing::WriteFile(dir + "/hostile/NOTES.TXT",
                             "<script>alert(6)</script>\r\nnotes & more\r\n");

    vorn::testing::WriteKey(dir + "/synth", vorn::bench::SyntheticKeySpec(size, size));
    return 0;
}
