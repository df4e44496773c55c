#include "text/private_profile.h"

#include <climits>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "support/temp_folder.h"

namespace korvel {
namespace {

using fixtures::ReadBytes;
using fixtures::TempFolder;
using fixtures::WriteBytes;

// Bytes of a literal that may hold NUL bytes, without the literal's own terminating NUL.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

std::string Encoded(std::u16string_view text, TextEncoding encoding) {
    return std::string(ByteOrderMark(encoding)) + EncodeText(text, encoding);
}

class PrivateProfileEncodings : public ::testing::TestWithParam<TextEncoding> {};

TEST_P(PrivateProfileEncodings, WritesBackInTheFileEncodingChangingOnlyTheWrittenLine) {
    const TextEncoding encoding = GetParam();
    TempFolder folder;
    const auto file = folder / "language.ini";
    WriteBytes(
        file,
        Encoded(u"; texts\r\n[LANGUAGE]\r\nlanguage=0\r\n\r\n[CHINESE]\r\nMACRO_NEW_PREFIX=宏\r\n",
                encoding));

    ASSERT_TRUE(WriteProfileString(file, u"language", u"language", u"1"));
    ASSERT_TRUE(WriteProfileString(file, u"CHINESE", u"MENU_1", u"导入"));
    ASSERT_TRUE(WriteProfileString(file, u"ENGINSH", u"MENU_1", u"Import \U0001F3AE"));

    EXPECT_EQ(
        ReadBytes(file),
        Encoded(u"; texts\r\n[LANGUAGE]\r\nlanguage=1\r\n\r\n[CHINESE]\r\nMACRO_NEW_PREFIX=宏\r\n"
                u"MENU_1=导入\r\n\r\n[ENGINSH]\r\nMENU_1=Import \U0001F3AE\r\n",
                encoding));
    const PrivateProfile profile = PrivateProfile::Load(file);
    EXPECT_EQ(profile.Encoding(), encoding);
    EXPECT_EQ(profile.GetString(u"CHINESE", u"MACRO_NEW_PREFIX"), u"宏");
    EXPECT_EQ(profile.GetString(u"ENGINSH", u"MENU_1"), u"Import \U0001F3AE");
    EXPECT_EQ(profile.GetInt(u"LANGUAGE", u"language", -1), 1);
}

INSTANTIATE_TEST_SUITE_P(Encodings, PrivateProfileEncodings,
                         ::testing::Values(TextEncoding::Utf8, TextEncoding::Utf8WithBom,
                                           TextEncoding::Utf16LittleEndianWithBom),
                         [](const auto& info) {
                             switch (info.param) {
                                 case TextEncoding::Utf8:
                                     return std::string("Utf8");
                                 case TextEncoding::Utf8WithBom:
                                     return std::string("Utf8WithBom");
                                 case TextEncoding::Utf16LittleEndianWithBom:
                                     return std::string("Utf16LeWithBom");
                             }
                             return std::string("Unknown");
                         });

TEST(PrivateProfile, MatchesSectionsAndKeysWithoutRegardToCase) {
    IniDocument document = IniDocument::FromBytes(
        "[Language]\nLanguage=1\n[ENGINSH]\nMedia_Next_Track_5=Next Track\n");
    PrivateProfile profile;
    ASSERT_TRUE(profile.SetString(u"language", u"LANGUAGE", u"1"));  // in an empty profile
    for (const auto& [section, key] :
         std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>{
             {u"LANGUAGE", u"language"},
             {u"language", u"LANGUAGE"},
             {u"LaNgUaGe", u"lAnGuAgE"},
             {u" LANGUAGE ", u" language "}}) {
        EXPECT_EQ(profile.GetString(section, key), u"1")
            << std::string(section.begin(), section.end());
    }
    EXPECT_EQ(document.Find(u"enginsh", u"MEDIA_NEXT_TRACK_5"), u"Next Track");
    EXPECT_EQ(document.Find(u"ENGINSH", u"MEDIA_Next_TRACK_5"), u"Next Track");
}

TEST(PrivateProfile, UpdatesAnExistingKeyWhateverItsSpellingAndKeepsItsLayout) {
    TempFolder folder;
    const auto file = folder / "deze.ini";
    WriteBytes(file, "[Colours]\n  Paint  =  0x00FF00  \nother=1\n");
    ASSERT_TRUE(WriteProfileString(file, u"COLOURS", u"paint", u"0x0000FF"));
    EXPECT_EQ(ReadBytes(file), "[Colours]\n  Paint  =  0x0000FF\nother=1\n");
}

TEST(PrivateProfile, AddsAKeyAfterTheLastKeyOfTheFirstMatchingSection) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteBytes(file, "[A]\nx=1\n; note\n\n[B]\ny=2\n[a]\nz=3");
    ASSERT_TRUE(WriteProfileString(file, u"a", u"new", u"v"));
    EXPECT_EQ(ReadBytes(file), "[A]\nx=1\nnew=v\n; note\n\n[B]\ny=2\n[a]\nz=3");
    // A section without keys gets its first key right below its header; a file without a final
    // line break gets one before anything is added after its last line.
    ASSERT_TRUE(WriteProfileString(file, u"B", u"y", u"22"));
    ASSERT_TRUE(WriteProfileString(file, u"C", u"c", u"3"));
    EXPECT_EQ(ReadBytes(file), "[A]\nx=1\nnew=v\n; note\n\n[B]\ny=22\n[a]\nz=3\n\n[C]\nc=3\n");
}

TEST(PrivateProfile, NewFileIsUtf8WithWindowsLineEnds) {
    TempFolder folder;
    const auto file = folder / "new.ini";
    ASSERT_TRUE(WriteProfileString(file, u"language", u"language", u"1"));
    EXPECT_EQ(ReadBytes(file), "[language]\r\nlanguage=1\r\n");
}

TEST(PrivateProfile, FirstOccurrenceCountsForReadingAndWriting) {
    TempFolder folder;
    const auto file = folder / "dup.ini";
    WriteBytes(file, "[S]\nk=first\nk=second\n[S]\nk=third\nonly=later\n");
    EXPECT_EQ(ReadProfileString(file, u"S", u"k"), u"first");
    EXPECT_EQ(ReadProfileString(file, u"S", u"only"), u"later");
    ASSERT_TRUE(WriteProfileString(file, u"S", u"k", u"changed"));
    EXPECT_EQ(ReadBytes(file), "[S]\nk=changed\nk=second\n[S]\nk=third\nonly=later\n");
}

TEST(PrivateProfile, DefaultLosesItsTrailingBlanksSoOneBlankReadsAsEmpty) {
    PrivateProfile profile;
    ASSERT_TRUE(profile.SetString(u"S", u"empty", u""));
    EXPECT_EQ(profile.GetString(u"S", u"missing"), u"");
    EXPECT_EQ(profile.GetString(u"S", u"missing", u" "), u"");
    EXPECT_EQ(profile.GetString(u"S", u"missing", u"1,1,1,1,x  "), u"1,1,1,1,x");
    EXPECT_EQ(profile.GetString(u"Nowhere", u"empty", u"fallback"), u"fallback");
    EXPECT_EQ(profile.GetString(u"S", u"empty", u"fallback"), u"");
    EXPECT_EQ(profile.GetInt(u"S", u"missing", 7), 7);
    EXPECT_EQ(profile.GetInt(u"S", u"empty", 7), 0);
}

TEST(PrivateProfile, ValuesLoseSurroundingBlanksAndOnePairOfQuotes) {
    const IniDocument document = IniDocument::FromBytes(
        "[S]\nplain=  a b \t\nquoted=\"  a b \"\nsingle=' x "
        "'\nmixed=\"x'\nlone=\"\ninner=a\"b\"c\n");
    EXPECT_EQ(document.Find(u"S", u"plain"), u"a b");
    EXPECT_EQ(document.Find(u"S", u"quoted"), u"  a b ");
    EXPECT_EQ(document.Find(u"S", u"single"), u" x ");
    EXPECT_EQ(document.Find(u"S", u"mixed"), u"\"x'");
    EXPECT_EQ(document.Find(u"S", u"lone"), u"\"");
    EXPECT_EQ(document.Find(u"S", u"inner"), u"a\"b\"c");
}

TEST(PrivateProfile, ValuesThatReadingWouldAlterAreStoredInQuotes) {
    for (const std::u16string_view value :
         {u" leading", u"trailing ", u"\"quoted\"", u"'single'", u"plain", u""}) {
        PrivateProfile profile;
        ASSERT_TRUE(profile.SetString(u"S", u"k", value));
        EXPECT_EQ(profile.GetString(u"S", u"k", u"default"), value);
    }
}

TEST(PrivateProfile, ValuesAreCutToTheRoomGiven) {
    PrivateProfile profile;
    const std::u16string exact(259, u'x');
    const std::u16string longer(300, u'y');
    ASSERT_TRUE(profile.SetString(u"S", u"exact", exact));
    ASSERT_TRUE(profile.SetString(u"S", u"longer", longer));
    ASSERT_TRUE(profile.SetString(u"S", u"pair", std::u16string(258, u'z') + u"\U0001F3AE"));
    EXPECT_EQ(profile.GetString(u"S", u"exact"), exact);
    EXPECT_EQ(profile.GetString(u"S", u"longer"), longer.substr(0, 259));
    EXPECT_EQ(profile.GetString(u"S", u"pair"), std::u16string(258, u'z'));
    EXPECT_EQ(profile.GetString(u"S", u"longer", u" ", 4), u"yyy");
    EXPECT_EQ(profile.GetString(u"S", u"longer", u" ", 0), u"");
    EXPECT_EQ(profile.GetString(u"S", u"missing", std::u16string(400, u'd')).size(), 259u);
}

TEST(PrivateProfile, RefusesWhatCannotBeStoredOnOneLine) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string original = "[S]\nk=v\n";
    WriteBytes(file, original);
    const std::u16string nul(1, u'\0');
    struct Refused {
        std::u16string_view section, key, value;
    };
    for (const Refused& r : std::initializer_list<Refused>{{u"S", u"k", u"two\nlines"},
                                                           {u"S", u"k", u"carriage\rreturn"},
                                                           {u"S", u"k", nul},
                                                           {u"S", u"a=b", u"v"},
                                                           {u"S", u"", u"v"},
                                                           {u"S", u"  ", u"v"},
                                                           {u"S", u"[k]", u"v"},
                                                           {u"S", u";k", u"v"},
                                                           {u"", u"k", u"v"},
                                                           {u"S]", u"k", u"v"},
                                                           {u"S\n", u"k", u"v"}}) {
        EXPECT_FALSE(WriteProfileString(file, r.section, r.key, r.value));
    }
    EXPECT_EQ(ReadBytes(file), original);
}

TEST(PrivateProfile, ReadsNumbersAsTheCLibraryDoes) {
    struct Case {
        std::u16string_view text;
        int value;
    };
    for (const Case& c : std::initializer_list<Case>{{u"1", 1},
                                                     {u"01", 1},
                                                     {u"2", 2},
                                                     {u" 12abc", 12},
                                                     {u"-3", -3},
                                                     {u"+4", 4},
                                                     {u"abc", 0},
                                                     {u"", 0},
                                                     {u"-", 0},
                                                     {u"99999999999999999999", INT_MAX},
                                                     {u"-99999999999999999999", INT_MIN}}) {
        EXPECT_EQ(LeadingInteger(c.text), c.value) << std::string(c.text.begin(), c.text.end());
    }
}

struct DamagedCase {
    const char* name;
    std::string bytes;
    std::size_t droppedAtEnd = 0;  // bytes that no reader can use and a rewrite leaves out
};

class DamagedFiles : public ::testing::TestWithParam<DamagedCase> {};

// Every damaged file still reads (what is readable in it) and still takes a write, which leaves
// the damaged lines as they were.
TEST_P(DamagedFiles, ReadAndWriteWithoutHarm) {
    TempFolder folder;
    const auto file = folder / "damaged.ini";
    WriteBytes(file, GetParam().bytes);
    const PrivateProfile profile = PrivateProfile::Load(file);
    EXPECT_EQ(profile.Status(), FileReadStatus::Ok);
    EXPECT_EQ(profile.GetString(u"missing", u"missing"), u"");
    (void)profile.GetString(u"S", u"k");

    ASSERT_TRUE(WriteProfileString(file, u"Written", u"key", u"value"));
    EXPECT_EQ(ReadProfileString(file, u"written", u"KEY"), u"value");
    const std::string kept =
        GetParam().bytes.substr(0, GetParam().bytes.size() - GetParam().droppedAtEnd);
    EXPECT_EQ(ReadBytes(file).substr(0, kept.size()), kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFiles,
    ::testing::Values(DamagedCase{"Empty", ""}, DamagedCase{"OnlyAUtf8Bom", "\xEF\xBB\xBF"},
                      DamagedCase{"InvalidUtf8", "[S]\nk=\xFF\xFE\xC0\x80\xED\xA0\x80\n\x80\x80\n"},
                      DamagedCase{"NulBytes", Bytes("[S]\nk=a\0b\n\0\0\0\n")},
                      DamagedCase{"NoFinalLineBreak", "[S]\nk=v"},
                      DamagedCase{"LinesWithoutEquals", "[S]\njust text\n=\n==\n   \n"},
                      DamagedCase{"UnclosedSection", "[S\nk=v\n["},
                      DamagedCase{"LoneCarriageReturns", "[S]\rk=v\r\r\n"},
                      DamagedCase{"HugeLine", "[S]\nk=" + std::string(1 << 20, 'x')},
                      DamagedCase{"Utf16WithOddLength", Bytes("\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0\x41"),
                                  1},
                      DamagedCase{"Utf16WithUnpairedSurrogates",
                                  Bytes("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x00\xD8\n\0\x00\xDC")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateProfile, ReadsKeysAfterDamagedLines) {
    const IniDocument document =
        IniDocument::FromBytes(Bytes("[S]\n\xFF\xFF garbage\nnoequals\n\0\n k = v \n"));
    EXPECT_EQ(document.Find(u"S", u"k"), u"v");
}

TEST(PrivateProfile, HugeValueIsCutNotOverrun) {
    TempFolder folder;
    const auto file = folder / "huge.ini";
    WriteBytes(file, "[S]\nk=" + std::string(1 << 20, 'x') + "\n");
    EXPECT_EQ(ReadProfileString(file, u"S", u"k"), std::u16string(259, u'x'));
}

TEST(PrivateProfile, MissingFileReadsAsEmptyAndIsCreatedOnWrite) {
    TempFolder folder;
    const auto file = folder / "missing.ini";
    const PrivateProfile profile = PrivateProfile::Load(file);
    EXPECT_EQ(profile.Status(), FileReadStatus::Missing);
    EXPECT_EQ(profile.GetString(u"S", u"k", u"d"), u"d");
    EXPECT_TRUE(WriteProfileString(file, u"S", u"k", u"v"));
    EXPECT_EQ(ReadProfileString(file, u"S", u"k"), u"v");
}

TEST(PrivateProfile, WriteLeavesNoTemporaryFileBehind) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    ASSERT_TRUE(WriteProfileString(file, u"S", u"k", u"1"));
    ASSERT_TRUE(WriteProfileString(file, u"S", u"k", u"2"));
    EXPECT_FALSE(WriteProfileString(folder / "no-such-folder" / "a.ini", u"S", u"k", u"1"));
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        entries.push_back(entry.path().filename());
    }
    EXPECT_EQ(entries, std::vector<std::filesystem::path>{"a.ini"});
}

TEST(PrivateProfile, LeavesFilesTooLargeToBeOursAlone) {
    TempFolder folder;
    const auto file = folder / "big.ini";
    const std::string big = "[S]\nk=v\n" + std::string(kMaxProfileFileBytes, ';');
    WriteBytes(file, big);
    EXPECT_EQ(PrivateProfile::Load(file).Status(), FileReadStatus::TooLarge);
    EXPECT_EQ(ReadProfileString(file, u"S", u"k"), u"");
    EXPECT_FALSE(WriteProfileString(file, u"S", u"k", u"w"));
    EXPECT_EQ(std::filesystem::file_size(file), big.size());
}

TEST(PrivateProfile, AFolderInPlaceOfTheFileIsNotReplaced) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    std::filesystem::create_directory(file);
    EXPECT_EQ(PrivateProfile::Load(file).Status(), FileReadStatus::Unreadable);
    EXPECT_FALSE(WriteProfileString(file, u"S", u"k", u"v"));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(PrivateProfile, WritingThroughALinkChangesTheFileItNames) {
    TempFolder folder;
    const auto target = folder / "real.ini";
    const auto link = folder / "link.ini";
    WriteBytes(target, "[S]\nk=1\n");
    std::error_code ec;
    std::filesystem::create_symlink(target, link, ec);
    if (ec) {
        GTEST_SKIP() << "symbolic links are not available here";
    }
    ASSERT_TRUE(WriteProfileString(link, u"S", u"k", u"2"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "[S]\nk=2\n");
}

}  // namespace
}  // namespace korvel
