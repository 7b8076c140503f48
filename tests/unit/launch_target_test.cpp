// Paths and addresses for the open function: what is stored, what is refused, and the
// record's 260-unit field.
#include <gtest/gtest.h>

#include "base/bytes.h"
#include "gesture/launch_target.h"

namespace mv {
namespace {

TEST(LaunchTargets, ProgramPaths) {
    LaunchTargetCheck c = CheckProgramPath(u"  \"C:\\windows\\notepad.exe\" ");
    EXPECT_EQ(c.error, LaunchTargetError::None);
    EXPECT_EQ(c.target, u"C:\\windows\\notepad.exe");
    EXPECT_EQ(CheckProgramPath(u"   ").error, LaunchTargetError::Empty);
    EXPECT_EQ(CheckProgramPath(u"\"\"").error, LaunchTargetError::Empty);
    EXPECT_EQ(CheckProgramPath(u"C:\\a\nb").error, LaunchTargetError::BadCharacter);

    const std::u16string fits = u"C:\\" + std::u16string(256, u'x');  // 259 units
    c = CheckProgramPath(fits);
    EXPECT_EQ(c.error, LaunchTargetError::None);
    c = CheckProgramPath(fits + u"y");
    EXPECT_EQ(c.error, LaunchTargetError::TooLong);
    EXPECT_EQ(c.units, 260u);
}

TEST(LaunchTargets, WebAddresses) {
    EXPECT_EQ(CheckWebAddress(u" https://example.org/a?b=1 ").target, u"https://example.org/a?b=1");
    LaunchTargetCheck c = CheckWebAddress(u"www.example.org");
    EXPECT_EQ(c.error, LaunchTargetError::None);
    EXPECT_EQ(c.target, u"http://www.example.org");
    EXPECT_EQ(CheckWebAddress(u"mailto:someone@example.org").error, LaunchTargetError::None);
    EXPECT_EQ(CheckWebAddress(u"").error, LaunchTargetError::Empty);
    EXPECT_EQ(CheckWebAddress(u"https://").error, LaunchTargetError::NotAnAddress);
    EXPECT_EQ(CheckWebAddress(u"http:///path").error, LaunchTargetError::NotAnAddress);
    EXPECT_EQ(CheckWebAddress(u"two words").error, LaunchTargetError::NotAnAddress);
    EXPECT_EQ(CheckWebAddress(u"mailto:nobody").error, LaunchTargetError::NotAnAddress);
    // The scheme added in front counts towards the limit.
    EXPECT_EQ(CheckWebAddress(std::u16string(253, u'w')).error, LaunchTargetError::TooLong);
    EXPECT_EQ(CheckWebAddress(std::u16string(252, u'w')).error, LaunchTargetError::None);
}

TEST(LaunchTargets, OnlyPagesAndMailAddressesOpen) {
    for (const char16_t* allowed : {u"HTTPS://example.org", u"Http://example.org/x", u"mailto:a@example.org"})
        EXPECT_EQ(CheckWebAddress(allowed).error, LaunchTargetError::None) << std::string(allowed, allowed + 6);
    for (const char16_t* refused :
         {u"file:///C:/Windows/System32/cmd.exe", u"javascript:alert(1)", u"search-ms:query=x", u"ms-officecmd:{}",
          u"ms-settings:display", u"shell:startup", u"ftp://example.org"}) {
        SCOPED_TRACE(std::string(refused, refused + 8));
        EXPECT_EQ(CheckWebAddress(refused).error, LaunchTargetError::NotAllowed);
        // Typed in the program box, an address is an address all the same.
        EXPECT_EQ(CheckProgramPath(refused).error, LaunchTargetError::NotAllowed);
    }
    EXPECT_EQ(CheckProgramPath(u"https://example.org").error, LaunchTargetError::None);
}

TEST(LaunchTargets, AddressOrFile) {
    EXPECT_TRUE(IsWebAddress(u"http://x"));
    EXPECT_TRUE(IsWebAddress(u"ms-settings:display"));
    EXPECT_FALSE(IsWebAddress(u"C:\\x.exe"));
    EXPECT_FALSE(IsWebAddress(u"notepad"));
    EXPECT_FALSE(IsWebAddress(u"\\\\server\\share"));
    EXPECT_EQ(LaunchFileName(u"C:\\Program Files\\App\\app.exe"), u"app.exe");
    EXPECT_EQ(LaunchFileName(u"docs/readme.txt"), u"readme.txt");
    EXPECT_EQ(LaunchFileName(u"notepad"), u"notepad");
    EXPECT_EQ(LaunchFileName(u"C:\\Folder\\"), u"C:\\Folder\\");
}

TEST(LaunchTargets, StoredWithTerminatorOrNotAtAll) {
    FunctionRecord record;
    record.bytes.fill(0xAB);
    const FunctionRecord before = record;
    EXPECT_FALSE(StoreLaunchTarget(record, std::u16string(260, u'z')));
    EXPECT_EQ(record, before);

    const std::u16string longest(259, u'z');
    ASSERT_TRUE(StoreLaunchTarget(record, longest));
    EXPECT_EQ(record.programPath(), longest);
    EXPECT_EQ(readLe16(&record.bytes[6 + 2 * 258]), u'z');
    EXPECT_EQ(readLe16(&record.bytes[6 + 2 * 259]), 0);  // the terminator in the last unit
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(record.bytes[i], 0xAB) << i;
}

}  // namespace
}  // namespace mv
