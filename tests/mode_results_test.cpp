#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/fault/io_fault.h"
#include "tests/support/mode_runner.h"
#include "tests/support/reference_modes.h"

namespace quillon {
namespace {

using testing::kAllModes;
using testing::ModeRun;
using testing::RunMode;
using testing::Spelled;

struct Expected {
  std::string input;
  std::string output;  // also the result text
};

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Each mode on small inputs, with blocks so small that every break meets a block edge and
// lines outgrow the output buffers, with the usual blocks, and with blocks of 0 bytes asked for;
// each once on one thread and once with every block split between two threads. Each runs once
// with the input examined before the run and once with its encoding guessed from a byte at
// each end, which the run then confirms or starts over from. Each also runs on a file whose
// reads fail from its end on: a run takes only the bytes its input had when it started, so a
// read at or past the end is one it never makes.
class ModeResultTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void ExpectResults(RevertMode mode, const std::vector<Expected>& cases) {
    for (const std::int64_t probe : {EngineTuning{}.EncodingProbe, std::int64_t{1}}) {
      for (const std::size_t splitMinimum : {EngineTuning{}.SplitMinimum, std::size_t{0}}) {
        for (const bool readsFailFromTheEnd : {false, true}) {
          for (const Expected& expected : cases) {
            SCOPED_TRACE(Spelled(expected.input) + ", split from " + std::to_string(splitMinimum) + " bytes, guessed from " +
                         std::to_string(probe) + (readsFailFromTheEnd ? ", reads failing from the end on" : ""));
            const testing::TempFolder folder;
            std::optional<testing::InjectedIoFault> pastTheEnd;
            if (readsFailFromTheEnd)
              pastTheEnd.emplace(testing::IoFault{testing::IoFault::Kind::BadByte, static_cast<std::int64_t>(expected.input.size()), "",
                                                  folder.path()});
            const ModeRun run = RunMode(folder, mode, expected.input, {GetParam(), 0, splitMinimum, probe});
            EXPECT_EQ(run.error, "");
            EXPECT_EQ(Spelled(run.output), Spelled(expected.output));
            EXPECT_EQ(Spelled(run.echo), Spelled(expected.output));
            EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
            // A text of ASCII bytes reads the same either way: it never takes a second pass.
            EXPECT_LE(run.startsOver, IsAscii(expected.input) ? 0 : 1);
          }
        }
      }
    }
  }
};

TEST_P(ModeResultTest, SimpleRevertWritesTheBytesBackwards) {
  ExpectResults(RevertMode::SimpleRevert, {
                                              {"ab\r\ncd\r\n", "\n\rdc\n\rba"},
                                              {"x", "x"},
                                              {"", ""},
                                              {"hello world", "dlrow olleh"},
                                              {"0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                               "ZYXWVUTSRQPONMLKJIHGFEDCBA9876543210zyxwvutsrqponmlkjihgfedcba9876543210"},
                                          });
}

TEST_P(ModeResultTest, LineKeepWritesTheLinesLastFirstEachWithOneCrLf) {
  ExpectResults(RevertMode::LineKeep, {
                                          {"ab\r\ncd\r\n", "\r\ncd\r\nab\r\n"},
                                          {"ab\r\ncd", "cd\r\nab\r\n"},
                                          {"ab\ncd\n", "\r\ncd\r\nab\r\n"},
                                          {"a\nb\nc\nd\n", "\r\nd\r\nc\r\nb\r\na\r\n"},
                                          {"ab\rcd\r", "\r\r\n\rcd\r\nab\r\n"},
                                          {"\r\nab", "ab\r\n"},
                                          {"abcdefg\rhi\r\n", "\r\n\rhi\r\nabcdefg\r\n"},
                                          {"x", "x\r\n"},
                                          {"", ""},
                                          // Lines across the scan's 64-byte steps, the first CR LF split by a step's edge.
                                          {std::string(63, 'a') + "\r\n" + std::string(61, 'b') + "\r\nc\n" + std::string(130, 'd') + "\re",
                                           "\re\r\n" + std::string(130, 'd') + "\r\nc\r\n" + std::string(61, 'b') + "\r\n" +
                                               std::string(63, 'a') + "\r\n"},
                                      });
}

TEST_P(ModeResultTest, RevertLineReversesEachLineAndKeepsItsBreak) {
  ExpectResults(RevertMode::RevertLine, {
                                            {"ab\r\ncd\r\n", "ba\r\ndc\r\n"},
                                            {"ab\ncd\n", "ba\ndc\n"},
                                            {"ab\r\ncd", "ba\r\ndc"},
                                            {"ab\rcd\r\nef\ngh", "ba\rdc\r\nfe\nhg"},
                                            {"\n\r\r\nxyz", "\n\r\r\nzyx"},
                                            {"abcdefg\nhi\r\nxyz", "gfedcba\nih\r\nzyx"},
                                            {"a\nbcdefghijklmnopqrstu", "a\nutsrqponmlkjihgfedcb"},
                                            {"x", "x"},
                                            {"", ""},
                                        });
}

// UTF-8 text, spelled in bytes: "é" both as one code point and as e + U+0301, CJK, an emoji
// with a skin tone, two flags, a family joined by ZWJ, and the byte-order mark.
#define E_ACUTE "\xC3\xA9"
#define E_COMBINING "e\xCC\x81"
#define KAN "\xE6\xBC\xA2"
#define JI "\xE5\xAD\x97"
#define THUMB_TONED "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"
#define FLAG_DE "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"
#define FLAG_FR "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7"
#define FAMILY "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"
#define BOM "\xEF\xBB\xBF"
#define THAANA_NOONU "\xDE\x9B"

TEST_P(ModeResultTest, SimpleRevertKeepsEachCharacterOfUtf8TextWhole) {
  ExpectResults(RevertMode::SimpleRevert, {
                                              {"caf" E_ACUTE, E_ACUTE "fac"},
                                              {"caf" E_COMBINING "!", "!" E_COMBINING "fac"},
                                              {KAN JI, JI KAN},
                                              {THAANA_NOONU, THAANA_NOONU},  // shorter than a byte-order mark
                                              {E_ACUTE "x", "x" E_ACUTE},
                                              {"a" THUMB_TONED "b", "b" THUMB_TONED "a"},
                                              {FLAG_DE FLAG_FR, FLAG_FR FLAG_DE},
                                              {FAMILY "x" FAMILY "y", "y" FAMILY "x" FAMILY},
                                              {"ab" E_ACUTE KAN JI FAMILY "x" FLAG_DE "y" E_COMBINING "z" THUMB_TONED,
                                               THUMB_TONED "z" E_COMBINING "y" FLAG_DE "x" FAMILY JI KAN E_ACUTE "ba"},
                                              {E_ACUTE "\r\n" KAN "\r" JI, JI "\r" KAN "\n\r" E_ACUTE},
                                              {BOM, BOM},
                                              {BOM "ab" E_ACUTE, BOM E_ACUTE "ba"},
                                              {BOM "\r\n" KAN, BOM KAN "\n\r"},
                                              // One byte that is not UTF-8 makes the whole file bytes.
                                              {E_ACUTE "\xFF", "\xFF\xA9\xC3"},
                                              {BOM "\xC3", "\xC3\xBF\xBB\xEF"},
                                              {"\xA9\xC3" E_ACUTE, "\xA9\xC3\xC3\xA9"},
                                              // Wherever the byte lies: in the middle of text whose
                                              // ends are ASCII or UTF-8, first, or cut short last.
                                              {"ab" E_ACUTE "\xFF" KAN "cd", "dc\xA2\xBC\xE6\xFF\xA9\xC3" "ba"},
                                              {E_ACUTE "ab\xFFxy" KAN, "\xA2\xBC\xE6" "yx\xFF" "ba\xA9\xC3"},
                                              {"\xFF" E_ACUTE "ab" KAN, "\xA2\xBC\xE6" "ba\xA9\xC3\xFF"},
                                              {KAN "ab" E_ACUTE "\xE6\xBC", "\xBC\xE6\xA9\xC3" "ba\xA2\xBC\xE6"},
                                              // Text whose ends are ASCII.
                                              {"ab\r\n" E_ACUTE "\r\ncd", "dc\n\r" E_ACUTE "\n\rba"},
                                          });
}

TEST_P(ModeResultTest, LineKeepKeepsTheByteOrderMarkFirst) {
  ExpectResults(RevertMode::LineKeep, {
                                          {E_ACUTE "\r\n" KAN JI, KAN JI "\r\n" E_ACUTE "\r\n"},
                                          {E_COMBINING "\r" THUMB_TONED "\n", "\r\n\r" THUMB_TONED "\r\n" E_COMBINING "\r\n"},
                                          {BOM, BOM},
                                          {THAANA_NOONU, THAANA_NOONU "\r\n"},
                                          {E_ACUTE "\n", "\r\n" E_ACUTE "\r\n"},
                                          {BOM "ab\ncd", BOM "cd\r\nab\r\n"},
                                          {BOM "\r\n" KAN, BOM KAN "\r\n"},
                                          {BOM "\n", BOM "\r\n"},
                                          {"a\n" BOM, BOM "\r\na\r\n"},  // a mark further on is text
                                          {"ab\n" E_ACUTE "\ncd", "cd\r\n" E_ACUTE "\r\nab\r\n"},
                                          {BOM "ab\n" E_ACUTE "\ncd", BOM "cd\r\n" E_ACUTE "\r\nab\r\n"},
                                          {BOM "ab\n\xFF\ncd", "cd\r\n\xFF\r\n" BOM "ab\r\n"},  // bytes: the mark too
                                      });
}

TEST_P(ModeResultTest, RevertLineReversesTheCharactersOfEachUtf8Line) {
  ExpectResults(RevertMode::RevertLine, {
                                            {"a" E_ACUTE "\r\n" E_COMBINING "x", E_ACUTE "a\r\nx" E_COMBINING},
                                            {KAN JI "\n" THUMB_TONED FLAG_DE FLAG_FR, JI KAN "\n" FLAG_FR FLAG_DE THUMB_TONED},
                                            {FAMILY "ab\r" E_ACUTE "z", "ba" FAMILY "\r" "z" E_ACUTE},
                                            {"ab" E_ACUTE "\n" KAN JI "\r\n" FAMILY "x\n" FLAG_DE "y" E_COMBINING "\n",
                                             E_ACUTE "ba\n" JI KAN "\r\nx" FAMILY "\n" E_COMBINING "y" FLAG_DE "\n"},
                                            {BOM, BOM},
                                            {THAANA_NOONU, THAANA_NOONU},
                                            {"x" E_ACUTE, E_ACUTE "x"},
                                            {BOM "ab\r\ncd", BOM "ba\r\ndc"},
                                            {BOM "\r\n" KAN JI, BOM "\r\n" JI KAN},
                                            {E_ACUTE "x\xFF", "\xFFx\xA9\xC3"},
                                            {"ab\n" E_ACUTE "x\ncd", "ba\nx" E_ACUTE "\ndc"},
                                            {E_ACUTE "ab\n\xFFx\ncd" KAN, "ba\xA9\xC3\nx\xFF\n\xA2\xBC\xE6" "dc"},
                                        });
}

// Each case in both byte orders.
std::vector<Expected> InBothOrders(const std::vector<std::pair<std::u16string, std::u16string>>& cases) {
  std::vector<Expected> both;
  for (const bool littleEndian : {true, false})
    for (const auto& [input, output] : cases) both.push_back({testing::ReferenceUtf16Bytes(input, littleEndian), testing::ReferenceUtf16Bytes(output, littleEndian)});
  return both;
}

#define U16_GRINNING u"\U0001F600"
#define U16_THUMB_TONED u"\U0001F44D\U0001F3FD"
#define U16_FAMILY u"\U0001F468\u200D\U0001F469\u200D\U0001F467"

TEST_P(ModeResultTest, SimpleRevertKeepsEachCharacterOfUtf16TextWholeInItsByteOrder) {
  ExpectResults(RevertMode::SimpleRevert, InBothOrders({
                                              {u"", u""},
                                              {u"AB", u"BA"},
                                              {u"a\r\nb", u"b\n\ra"},
                                              {u"x" U16_GRINNING "y", u"y" U16_GRINNING "x"},
                                              {u"a" U16_THUMB_TONED U16_FAMILY "\u00E9e\u0301", u"e\u0301\u00E9" U16_FAMILY U16_THUMB_TONED "a"},
                                              {u"\u6F22\u5B57\u0A0A\u0D0D", u"\u0D0D\u0A0A\u5B57\u6F22"},
                                          }));
}

TEST_P(ModeResultTest, LineKeepAddsCrLfInUtf16) {
  ExpectResults(RevertMode::LineKeep, InBothOrders({
                                          {u"", u""},
                                          {u"ab\r\ncd", u"cd\r\nab\r\n"},
                                          {u"a\n" U16_GRINNING "\n", u"\r\n" U16_GRINNING "\r\na\r\n"},
                                          {u"\u0A0D\u0D0A\r" U16_FAMILY, u"\r" U16_FAMILY "\r\n\u0A0D\u0D0A\r\n"},
                                      }));
}

TEST_P(ModeResultTest, RevertLineReversesTheCharactersOfEachUtf16Line) {
  // Lines long enough to be converted many units at a time: accented letters, CJK and ASCII,
  // each character a code unit of its own, so that the line reversed is its units reversed.
  const std::u16string mixed = u"Gr\u00F6\u00DFere \u00C4pfel, \u6F22\u5B57\u304B\u306A\u4EA4\u3058\u308A, \u00E7a va tr\u00E8s bien 0123456789";
  const std::u16string reversed(mixed.rbegin(), mixed.rend());
  ExpectResults(RevertMode::RevertLine, InBothOrders({
                                            {u"", u""},
                                            {u"ab\r\ncd", u"ba\r\ndc"},
                                            {u"x" U16_GRINNING U16_THUMB_TONED "\ny\u0A0A", U16_THUMB_TONED U16_GRINNING u"x\n\u0A0Ay"},
                                            {mixed + u"\r\n" + mixed, reversed + u"\r\n" + reversed},
                                        }));
}

// Only a mark and well-formed UTF-16 after it make UTF-16 text; the rest is bytes.
TEST_P(ModeResultTest, MalformedUtf16IsBytes) {
  using namespace std::string_literals;
  ExpectResults(RevertMode::SimpleRevert, {
                                              {"\xFF\xFE" "A"s, "A\xFE\xFF"s},  // an odd number of bytes
                                              {"\xFF\xFE" "A\x00" "B"s, "B\x00" "A\xFE\xFF"s},
                                              {"\xFF\xFE\x00\xD8" "A\x00"s, "\x00" "A\xD8\x00\xFE\xFF"s},  // a lone high surrogate
                                              {"\xFE\xFF\xDC\x00"s, "\x00\xDC\xFF\xFE"s},  // a lone low surrogate
                                              {"\xFE\xFF\xD8\x3D"s, "\x3D\xD8\xFF\xFE"s},  // a pair cut off at the end
                                              {"A\x00" "B\x00"s, "\x00" "B\x00" "A"s},  // no mark, no guessing
                                          });
  ExpectResults(RevertMode::LineKeep, {{"\xFF\xFE\x00\xDC\n\x00"s, "\x00\r\n\xFF\xFE\x00\xDC\r\n"s}});
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ModeResultTest, ::testing::Values(0, 1, 2, 3, 100, 1 << 20));

TEST(ModeProgress, ReportsTheShareHandledBeforeEachPiece) {
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, "ab\r\ncd\r\n", {1, 1}).progress,
            (std::vector<float>{0, 12.5, 25, 37.5, 50, 62.5, 75, 87.5}));
  // Line keep also moves while it reads a line back over blocks and copies it: each pass
  // counts for half of the line.
  EXPECT_EQ(RunMode(RevertMode::LineKeep, "ab\r\ncd\r\n", {1, 1}).progress,
            (std::vector<float>{0, 12.5, 25, 37.5, 50, 75, 87.5}));
  EXPECT_EQ(RunMode(RevertMode::RevertLine, "abcd", {1, 1}).progress, (std::vector<float>{0, 25, 50, 75}));
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, "x", {1, 1}).progress, (std::vector<float>{0}));
}

TEST(ModeProgress, NeverPassesOneHundredAndReportsSparingly) {
  const std::string lineFeeds(100000, '\n');
  for (const RevertMode mode : kAllModes) {
    const ModeRun run = RunMode(mode, lineFeeds, {64, 0});
    ASSERT_FALSE(run.progress.empty());
    EXPECT_LE(run.progress.size(), 1001U);
    EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
    EXPECT_LE(run.progress.back(), 100.0F);
  }
}

TEST(ModeBytes, EveryByteValueSurvivesEveryMode) {
  std::string all;
  for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
  std::string reversed(all.rbegin(), all.rend());
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, all).output, reversed);

  // Bytes 10 and 13 are the only breaks: 0..9 | LF | 11,12 | CR | 14..255.
  const auto run = [&](int from, int to) { return all.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)); };
  const auto backwards = [](std::string s) { return std::string(s.rbegin(), s.rend()); };
  EXPECT_EQ(RunMode(RevertMode::RevertLine, all).output,
            backwards(run(0, 10)) + "\n" + backwards(run(11, 13)) + "\r" + backwards(run(14, 256)));
  EXPECT_EQ(RunMode(RevertMode::LineKeep, all).output, "\r" + run(14, 256) + "\r\n" + run(11, 13) + "\r\n" + run(0, 10) + "\r\n");
}

TEST(ModeOutput, ReplacesALongerEarlierOutputWhole) {
  for (const RevertMode mode : kAllModes) {
    const testing::TempFolder folder;
    testing::WriteWhole(folder.File("input.txt_rev.txt"), "an earlier and much longer output file");
    const ModeRun run = RunMode(folder, mode, "ab\ncd");
    EXPECT_EQ(run.output, run.echo);
    EXPECT_EQ(folder.Listing(), "input.txt input.txt_rev.txt");
  }
}

TEST(ModeOutput, RunningTwiceReplacesTheFirstOutputWithTheSameBytes) {
  const std::string input = "one\r\ntwo\nthree\rfour";
  const std::pair<RevertMode, std::string> expected[] = {
      {RevertMode::SimpleRevert, "ruof\reerht\nowt\n\reno"},
      {RevertMode::LineKeep, "\rfour\r\nthree\r\ntwo\r\none\r\n"},
      {RevertMode::RevertLine, "eno\r\nowt\neerht\rruof"},
  };
  for (const auto& [mode, output] : expected) {
    const testing::TempFolder folder;
    EXPECT_EQ(Spelled(RunMode(folder, mode, input).output), Spelled(output));
    EXPECT_EQ(Spelled(RunMode(folder, mode, input).output), Spelled(output));
  }
}

TEST(ModeEncoding, IsChosenBeforeTheOutputOpens) {
  const std::pair<std::string, TextEncoding> cases[] = {
      {"plain ASCII\n", TextEncoding::Bytes},  // reads the same either way, shown as ever
      {"", TextEncoding::Bytes},
      {KAN "\n", TextEncoding::Utf8},
      {BOM, TextEncoding::Utf8},
      {"ab\xC3", TextEncoding::Bytes},  // cut short at the end
      {"\xED\xA0\x80", TextEncoding::Bytes},  // a surrogate
      {"\xFF\xFE", TextEncoding::Utf16LittleEndian},
      {std::string("\xFE\xFF\x00" "a", 4), TextEncoding::Utf16BigEndian},
      {"\xFF\xFE" "a", TextEncoding::Bytes},
  };
  for (const auto& [input, encoding] : cases) {
    SCOPED_TRACE(Spelled(input));
    const ModeRun run = RunMode(RevertMode::SimpleRevert, input);
    EXPECT_EQ(run.encoding, encoding);
    EXPECT_TRUE(run.encodingBeforeOutput);
  }
}

TEST(ModeEncoding, ForcedBytesReadUtf8TextByteByByte) {
  const std::string input = BOM "a" E_ACUTE "\n" KAN;
  for (const RevertMode mode : kAllModes) {
    const ModeRun run = RunMode(mode, input, {}, true);
    EXPECT_EQ(run.encoding, TextEncoding::Bytes);
    EXPECT_EQ(Spelled(run.output), Spelled(testing::Reference(mode, input, true)));
  }
  EXPECT_EQ(Spelled(RunMode(RevertMode::SimpleRevert, input, {}, true).output),
            Spelled("\xA2\xBC\xE6\n\xA9\xC3" "a\xBF\xBB\xEF"));
}

// Inputs of more than a few examination reads are checked in two halves at once; what
// decides the encoding may lie in either half, or across the cut near the middle.
TEST(ModeEncoding, LargeInputsAreJudgedAsAWholeWhereverTheDecidingBytesLie) {
  std::string ascii;
  while (ascii.size() < (std::size_t{3} << 19)) ascii += "a line of plain text\n";
  const std::size_t middle = ascii.size() / 2;
  const auto with = [&](std::size_t at, std::string_view bytes) { return ascii.substr(0, at) + std::string(bytes) + ascii.substr(at); };
  std::string utf16 = "\xFF\xFE";
  for (const char c : ascii) utf16.append({c, '\0'});
  std::string utf16LoneSurrogate = utf16;
  utf16LoneSurrogate.replace(utf16.size() - 4, 2, std::string("\x00\xD8", 2));
  // UTF-16 is decoded in two halves too: the second half's place in the copy is what the
  // first turns into, so the first holds characters of every length, and a pair straddles
  // the cut.
  const std::string mixedFirstHalf = with(7, E_ACUTE KAN THUMB_TONED);
  std::u16string units(ascii.begin(), ascii.end());
  units[units.size() / 2 - 1] = 0xD83D;
  units[units.size() / 2] = 0xDE00;
  std::u16string unitsLoneInFirstHalf = units;
  unitsLoneInFirstHalf[10] = 0xDC00;
  const std::pair<std::string, TextEncoding> cases[] = {
      {ascii, TextEncoding::Bytes},
      {with(middle, "\n" E_ACUTE "\n"), TextEncoding::Utf8},  // only between ends of ASCII
      {with(middle - 1, E_ACUTE), TextEncoding::Utf8},  // a sequence across the cut
      {with(middle - 2, THUMB_TONED), TextEncoding::Utf8},
      {with(middle - 1, "\xF0\x9F\x91"), TextEncoding::Bytes},  // cut short at the cut
      {with(ascii.size() - 5, "\xFF"), TextEncoding::Bytes},  // only the second half is wrong
      {with(3, "\xC3"), TextEncoding::Bytes},  // only the first half is wrong
      {with(ascii.size(), KAN), TextEncoding::Utf8},
      {BOM + ascii, TextEncoding::Utf8},
      {utf16, TextEncoding::Utf16LittleEndian},
      {utf16LoneSurrogate, TextEncoding::Bytes},  // found only near the end
      {testing::ReferenceUtf16Of(mixedFirstHalf, true), TextEncoding::Utf16LittleEndian},
      {testing::ReferenceUtf16Bytes(units, true), TextEncoding::Utf16LittleEndian},
      {testing::ReferenceUtf16Bytes(units, false), TextEncoding::Utf16BigEndian},
      {testing::ReferenceUtf16Bytes(unitsLoneInFirstHalf, false), TextEncoding::Bytes},
  };
  for (const auto& [input, encoding] : cases) {
    const ModeRun run = RunMode(RevertMode::SimpleRevert, input);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.encoding, encoding);
    EXPECT_TRUE(run.output == testing::Reference(RevertMode::SimpleRevert, input)) << "input with " << Spelled(input.substr(middle - 8, 16));
    EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
    EXPECT_LE(run.progress.back(), 100.0F);
    EXPECT_LT(run.progress.front(), 10.0F);  // the examination shows on the bar
    EXPECT_LE(run.startsOver, 1);
  }
}

// Stopped while the input is examined (UTF-16 text is decoded whole before the run), a run ends
// there: no encoding is chosen and nothing is written.
TEST(ModeEncoding, AStopDuringTheExaminationEndsTheRunBeforeAnyOutput) {
  class StopOnFirstProgress : public testing::RunLog {
   public:
    void SetProgressValue(float percent) override {
      RunLog::SetProgressValue(percent);
      source.request_stop();
    }
    std::stop_source source;
  };
  const testing::TempFolder folder;
  std::string utf16 = "\xFF\xFE";
  while (utf16.size() < (std::size_t{3} << 20)) utf16.append({'x', '\0'});
  const std::string input = folder.Write("in.txt", utf16);
  StopOnFirstProgress log;
  EXPECT_THROW(quillon::RunMode(RevertMode::SimpleRevert, ModeContext{input, input + "_rev.txt", log, log.source.get_token(), {}}),
               RunCancelled);
  EXPECT_EQ(log.encoding, std::nullopt);
  EXPECT_FALSE(log.outputOpened);
  ASSERT_EQ(log.values.size(), 1U);
  EXPECT_LT(log.values.front(), 1.0F);
  EXPECT_EQ(folder.Listing(), "in.txt");
}

// Lines far longer than the buffers, so that they are cut into pieces: clusters with safe
// cuts between them, and stretches of flags, toned emoji, ZWJ sequences and Hangul jamo with
// none for longer than a buffer, which the working buffer grows over.
TEST(ModeLongUtf8Lines, AgreeWithTheModelAcrossBufferEdges) {
  const std::string pieces[] = {E_ACUTE, E_COMBINING, KAN, "ab", THUMB_TONED, FLAG_DE, FAMILY, "\xE1\x84\x80\xE1\x85\xA1"};
  std::string mixed;
  for (int i = 0; i < 700; ++i) mixed += pieces[static_cast<std::size_t>(i * 7 % 8)];
  std::string flags;
  for (int i = 0; i < 300; ++i) flags += i % 2 == 0 ? FLAG_DE : FLAG_FR;
  std::string toned;
  for (int i = 0; i < 200; ++i) toned += THUMB_TONED;
  const std::string texts[] = {mixed, BOM + mixed + "\r\n" + flags, flags + "\n" + mixed, toned + "x" + toned, "\xCC\x81" + mixed};
  for (const std::string& text : texts) {
    for (const std::size_t blockSize : {std::size_t{5}, std::size_t{64}, std::size_t{1000}}) {
      for (const RevertMode mode : kAllModes) {
        SCOPED_TRACE(testing::Spelled(text.substr(0, 40)) + " block " + std::to_string(blockSize));
        const ModeRun run = RunMode(mode, text, {blockSize, 0});
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.output, testing::Reference(mode, text));
        EXPECT_EQ(run.echo, run.output);
      }
    }
  }
}

}  // namespace
}  // namespace quillon
