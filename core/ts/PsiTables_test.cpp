#include "core/ts/PsiTables.h"

#include <gtest/gtest.h>

TEST(PsiTablesTest, PatAndPmtRoundTrip) {
  const PatTable pat{0x1234, 3, {{0, 0x10}, {1, 0x30}, {2, 0x40}}};
  const auto patSection = SerializePat(pat);
  EXPECT_EQ(patSection.size(), 8u + 12u + 4u);
  EXPECT_EQ(ParsePat(patSection), pat);

  const PmtTable pmt{2, 1, 0x41, {{kStreamTypeMpeg2Video, 0x41}, {kStreamTypeAc3Audio, 0x44}}};
  const auto parsed = ParsePmt(SerializePmt(pmt));
  EXPECT_EQ(parsed, pmt);
  EXPECT_EQ(parsed->FindStream(kStreamTypeAc3Audio), 0x44);
  EXPECT_EQ(parsed->FindStream(0x1B), std::nullopt);
}

TEST(PsiTablesTest, DamagedSectionsAreRefused) {
  auto section = SerializePat({1, 0, {{1, 0x30}}});
  auto corrupt = section;
  corrupt[9] ^= 0x01;
  EXPECT_EQ(ParsePat(corrupt), std::nullopt);
  EXPECT_EQ(ParsePat(std::span(section).first(section.size() - 1)), std::nullopt);
  EXPECT_EQ(ParsePmt(section), std::nullopt);  // a PAT is no PMT
  EXPECT_EQ(ParsePat(std::span<const std::uint8_t>{}), std::nullopt);
}
