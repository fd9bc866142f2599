#include "device_files.h"
#include "kernel/wide_stdio.h"

namespace {

using WideStreams = DeviceFilesTest;

TEST_F(WideStreams, TextModeWritesUtf8WithCrLfAndTellsTheSize)
{
  WriteHost("Temp/app.exe.1.log", "old\r\n");
  // The log writer's steps: open for appending, seek to the end, write, take the position.
  FILE* log = _wfopen(u"\\Temp\\APP.exe.1.log", u"a+t");
  ASSERT_NE(log, nullptr);
  ASSERT_EQ(fseek(log, 0, SEEK_END), 0);
  EXPECT_EQ(fwprintf(log, u"%s(%d): 支付\n", u"main.cpp", 42), 17);
  EXPECT_EQ(fputws(u"second\n", log), 0);
  long size = ftell(log);
  ASSERT_EQ(fclose(log), 0);
  std::string expected = "old\r\nmain.cpp(42): \xE6\x94\xAF\xE4\xBB\x98\r\nsecond\r\n";
  EXPECT_EQ(ReadHost("Temp/app.exe.1.log"), expected);
  EXPECT_EQ(size, static_cast<long>(expected.size()));
}

TEST_F(WideStreams, BinaryModeKeepsLineFeeds)
{
  FILE* out = _wfopen(u"\\out.txt", u"wb");
  ASSERT_NE(out, nullptr);
  fwprintf(out, u"a\nb\n");
  fclose(out);
  EXPECT_EQ(ReadHost("out.txt"), "a\nb\n");

  FILE* in = _wfopen(u"\\OUT.TXT", u"rb");
  ASSERT_NE(in, nullptr);
  char buffer[8] = {};
  EXPECT_EQ(fread(buffer, 1, sizeof buffer, in), 4u);
  fclose(in);
}

TEST_F(WideStreams, ModesAndFailures)
{
  WriteHost("keep.txt", "content");
  FILE* truncating = _wfopen(u"\\keep.txt", u"w");
  ASSERT_NE(truncating, nullptr);
  fclose(truncating);
  EXPECT_EQ(ReadHost("keep.txt"), "");

  EXPECT_EQ(_wfopen(u"\\missing.txt", u"r"), nullptr);
  EXPECT_EQ(_wfopen(u"\\NoFolder\\x.txt", u"a+t"), nullptr);
  EXPECT_EQ(_wfopen(u"\\x.txt", u"q"), nullptr);
  EXPECT_EQ(_wfopen(u"\\x.txt", u"rw"), nullptr);
  EXPECT_EQ(_wfopen(u"\\..\\x.txt", u"w"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(Host("x.txt")));
}

}  // namespace
