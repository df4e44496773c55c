// Random bytes in place of an INI file: whatever comes in, reading and writing stay within bounds
// and a value once written reads back. Run under the address and undefined-behaviour sanitizers to
// get the full benefit.
#include <random>

#include <gtest/gtest.h>

#include "text/ini_document.h"

namespace korvel {
namespace {

std::string RandomIniBytes(std::mt19937& random) {
    // Mostly the characters that give an INI file its structure, so that the parser's branches are
    // all taken, with arbitrary bytes between them.
    static constexpr char kStructure[] = {'[', ']', '=',  '\n', '\r', ' ', '\t',
                                          ';', '"', '\'', 'k',  'S',  '\0'};
    std::string bytes;
    const int length = std::uniform_int_distribution<int>(0, 300)(random);
    switch (std::uniform_int_distribution<int>(0, 2)(random)) {
        case 1:
            bytes = "\xEF\xBB\xBF";
            break;
        case 2:
            bytes = "\xFF\xFE";
            break;
        default:
            break;
    }
    for (int i = 0; i < length; ++i) {
        if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {
            bytes.push_back(kStructure[std::uniform_int_distribution<std::size_t>(
                0, sizeof kStructure - 1)(random)]);
        } else {
            bytes.push_back(static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random)));
        }
    }
    return bytes;
}

TEST(IniDocumentFuzz, RandomInputNeverBreaksReadingOrWriting) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomIniBytes(random);
        IniDocument document = IniDocument::FromBytes(bytes);
        (void)document.Find(u"S", u"k");
        EXPECT_EQ(IniDocument::FromBytes(document.ToBytes()).ToBytes(), document.ToBytes());
        ASSERT_TRUE(document.Set(u"S", u"k", u"value"));
        ASSERT_TRUE(document.Set(u"Fresh", u"key", u" edge "));
        const IniDocument reread = IniDocument::FromBytes(document.ToBytes());
        EXPECT_EQ(reread.Find(u"S", u"k"), u"value") << round;
        EXPECT_EQ(reread.Find(u"fresh", u"KEY"), u" edge ") << round;
    }
}

}  // namespace
}  // namespace korvel
