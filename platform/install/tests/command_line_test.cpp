// The installer's command line: installing with and without deleting the package, removing by
// name, the unattended flag, and lines it does not follow.
#include <gtest/gtest.h>

#include "command_line.h"

namespace {

using install::ParseCommandLine;

TEST(InstallerCommandLine, ReadsWhatToDo)
{
  struct Case {
    const char16_t* line;
    bool uninstall;
    const char16_t* target;
    bool deletePackage;
    bool silent;
  } cases[] = {
      {u"\"\\Program Files\\KorvexPortal\\KorvexPortal.CAB\" /delete 1", false,
       u"\\Program Files\\KorvexPortal\\KorvexPortal.CAB", true, false},
      {u"\\Temp\\a.cab", false, u"\\Temp\\a.cab", false, false},
      {u"/SILENT \"\\Temp\\with blanks.cab\"  /Delete 0", false, u"\\Temp\\with blanks.cab", false, true},
      {u"/uninstall \"Korvex Portal\" /silent", true, u"Korvex Portal", false, true},
  };
  for (const Case& c : cases) {
    std::optional<install::InstallerCommand> command = ParseCommandLine(c.line);
    ASSERT_TRUE(command) << testing::PrintToString(std::u16string(c.line));
    EXPECT_EQ(command->uninstall, c.uninstall);
    EXPECT_EQ(command->target, c.target);
    EXPECT_EQ(command->deletePackage, c.deletePackage);
    EXPECT_EQ(command->silent, c.silent);
  }
}

TEST(InstallerCommandLine, RefusesLinesItDoesNotFollow)
{
  for (const char16_t* line : {
           u"",                                 // nothing to install
           u"/silent",                          // still nothing
           u"\"\\Temp\\a.cab",                  // a quote left open
           u"\\Temp\\a.cab /delete",            // /delete without its number
           u"\\Temp\\a.cab /delete 2",          // nor 0 nor 1
           u"\\Temp\\a.cab \\Temp\\b.cab",      // two packages
           u"\\Temp\\a.cab /noui",              // an unknown flag
           u"/uninstall",                       // no name
           u"/uninstall App /delete 1",         // nothing to delete
           u"\\Temp\\a.cab /uninstall App",     // both at once
       })
    EXPECT_FALSE(ParseCommandLine(line)) << testing::PrintToString(std::u16string(line));
}

}  // namespace
