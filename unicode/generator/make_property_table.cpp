// Builds the code point property table of the Unicode library from the Unicode Character
// Database files and writes it as a C++ source file.
//
//   make_property_table UNICODE_DATA_DIR OUTPUT.cpp
//
// Each code point gets one byte (see unicode/code_point_properties.h); the table is cut into
// blocks of 128 code points, equal blocks are stored once, and a first stage maps each block
// of the code space to its stored block.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "unicode/code_point_properties.h"

namespace {

using quillon::unicode::GraphemeBreak;
namespace bits = quillon::unicode::property_bits;

constexpr std::size_t kCodeSpace = 0x110000;
constexpr std::size_t kBlockSize = std::size_t{1} << quillon::unicode::kPropertyBlockShift;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

struct Range {
  std::uint32_t first;
  std::uint32_t last;
};

Range ParseRange(const std::string& field) {
  const auto dots = field.find("..");
  const std::uint32_t first = static_cast<std::uint32_t>(std::stoul(field.substr(0, dots), nullptr, 16));
  const std::uint32_t last =
      dots == std::string::npos ? first : static_cast<std::uint32_t>(std::stoul(field.substr(dots + 2), nullptr, 16));
  if (last < first || last >= kCodeSpace) throw std::runtime_error("bad code point range: " + field);
  return {first, last};
}

std::ifstream OpenData(const std::string& folder, const std::string& name) {
  std::ifstream in(folder + "/" + name);
  if (!in) throw std::runtime_error("cannot read " + folder + "/" + name);
  return in;
}

// Calls `apply(range, value)` for every "range ; value # comment" line of a property file.
template <typename Apply>
void ForEachPropertyLine(const std::string& folder, const std::string& name, Apply apply) {
  std::ifstream in = OpenData(folder, name);
  std::string line;
  int used = 0;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    const auto semicolon = line.find(';');
    if (semicolon == std::string::npos) continue;
    apply(ParseRange(Trim(line.substr(0, semicolon))), Trim(line.substr(semicolon + 1)));
    ++used;
  }
  if (used == 0) throw std::runtime_error(name + " holds no property lines");
}

GraphemeBreak BreakNamed(const std::string& name) {
  static const std::map<std::string, GraphemeBreak> kNames = {
      {"CR", GraphemeBreak::CR},
      {"LF", GraphemeBreak::LF},
      {"Control", GraphemeBreak::Control},
      {"Extend", GraphemeBreak::Extend},
      {"ZWJ", GraphemeBreak::ZWJ},
      {"Regional_Indicator", GraphemeBreak::RegionalIndicator},
      {"Prepend", GraphemeBreak::Prepend},
      {"SpacingMark", GraphemeBreak::SpacingMark},
      {"L", GraphemeBreak::L},
      {"V", GraphemeBreak::V},
      {"T", GraphemeBreak::T},
      {"LV", GraphemeBreak::LV},
      {"LVT", GraphemeBreak::LVT},
  };
  const auto found = kNames.find(name);
  if (found == kNames.end()) throw std::runtime_error("unknown Grapheme_Cluster_Break value: " + name);
  return found->second;
}

void SetFlag(std::vector<std::uint8_t>& table, Range range, std::uint8_t flag) {
  for (std::uint32_t cp = range.first; cp <= range.last; ++cp) table[cp] |= flag;
}

void ReadGraphemeBreaks(const std::string& folder, std::vector<std::uint8_t>& table) {
  ForEachPropertyLine(folder, "auxiliary/GraphemeBreakProperty.txt", [&](Range range, const std::string& value) {
    const auto code = static_cast<std::uint8_t>(BreakNamed(value));
    for (std::uint32_t cp = range.first; cp <= range.last; ++cp)
      table[cp] = static_cast<std::uint8_t>((table[cp] & ~bits::kBreakMask) | code);
  });
}

void ReadExtendedPictographic(const std::string& folder, std::vector<std::uint8_t>& table) {
  ForEachPropertyLine(folder, "emoji/emoji-data.txt", [&](Range range, const std::string& value) {
    if (value == "Extended_Pictographic") SetFlag(table, range, bits::kExtendedPictographic);
  });
}

void ReadEastAsianWidth(const std::string& folder, std::vector<std::uint8_t>& table) {
  // Unassigned code points of these ranges are wide by default; listed ones override below.
  for (const Range range : {Range{0x3400, 0x4DBF}, Range{0x4E00, 0x9FFF}, Range{0xF900, 0xFAFF},
                            Range{0x20000, 0x2FFFD}, Range{0x30000, 0x3FFFD}})
    SetFlag(table, range, bits::kWide);
  ForEachPropertyLine(folder, "EastAsianWidth.txt", [&](Range range, const std::string& value) {
    const bool wide = value == "W" || value == "F";
    for (std::uint32_t cp = range.first; cp <= range.last; ++cp)
      table[cp] = static_cast<std::uint8_t>(wide ? table[cp] | bits::kWide : table[cp] & ~bits::kWide);
  });
}

// UnicodeData.txt: "code;name;category;..."; large ranges appear as a "<..., First>" line
// followed by a "<..., Last>" line.
void ReadGeneralCategories(const std::string& folder, std::vector<std::uint8_t>& table) {
  std::ifstream in = OpenData(folder, "UnicodeData.txt");
  std::string line;
  std::uint32_t rangeFirst = 0;
  int used = 0;
  while (std::getline(in, line)) {
    std::array<std::string, 3> fields;
    std::istringstream split(line);
    for (std::string& field : fields) std::getline(split, field, ';');
    if (fields[2].empty()) continue;
    const std::uint32_t cp = ParseRange(fields[0]).first;
    if (fields[1].ends_with(", First>")) {
      rangeFirst = cp;
      continue;
    }
    const std::uint32_t first = fields[1].ends_with(", Last>") ? rangeFirst : cp;
    const char major = fields[2][0];
    if (major == 'L' || major == 'N') SetFlag(table, {first, cp}, bits::kLetterOrNumber);
    if (major == 'M') SetFlag(table, {first, cp}, bits::kMark);
    ++used;
  }
  if (used == 0) throw std::runtime_error("UnicodeData.txt holds no code points");
}

void WriteTable(const std::vector<std::uint8_t>& table, const std::string& outputPath) {
  std::vector<std::uint16_t> blockOf;
  std::vector<std::string> blocks;
  std::map<std::string, std::uint16_t> known;
  for (std::size_t start = 0; start < kCodeSpace; start += kBlockSize) {
    const std::string block(table.begin() + static_cast<std::ptrdiff_t>(start),
                            table.begin() + static_cast<std::ptrdiff_t>(start + kBlockSize));
    const auto [found, added] = known.try_emplace(block, static_cast<std::uint16_t>(blocks.size()));
    if (added) blocks.push_back(block);
    blockOf.push_back(found->second);
  }

  std::ostringstream out;
  out << "// Generated by unicode/generator/make_property_table.cpp from the Unicode 15.0 data files.\n"
      << "// " << blocks.size() << " distinct blocks of " << kBlockSize << " code points.\n"
      << "#include \"unicode/code_point_properties.h\"\n\n"
      << "namespace quillon::unicode::detail {\n\n"
      << "extern const std::uint16_t kPropertyBlockOf[] = {";
  for (std::size_t i = 0; i < blockOf.size(); ++i) out << (i % 16 == 0 ? "\n" : " ") << blockOf[i] << ",";
  out << "\n};\n\nextern const std::uint8_t kPropertyBlocks[] = {";
  std::size_t count = 0;
  for (const auto& block : blocks)
    for (const char value : block)
      out << (count++ % 24 == 0 ? "\n" : " ") << unsigned{static_cast<std::uint8_t>(value)} << ",";
  out << "\n};\n\n}  // namespace quillon::unicode::detail\n";

  std::ofstream file(outputPath, std::ios::trunc);
  file << out.str();
  if (!file.flush()) throw std::runtime_error("cannot write " + outputPath);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_property_table UNICODE_DATA_DIR OUTPUT.cpp\n";
    return 2;
  }
  try {
    const std::string folder = argv[1];
    std::vector<std::uint8_t> table(kCodeSpace, 0);
    ReadGraphemeBreaks(folder, table);
    ReadExtendedPictographic(folder, table);
    ReadEastAsianWidth(folder, table);
    ReadGeneralCategories(folder, table);
    WriteTable(table, argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "make_property_table: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
