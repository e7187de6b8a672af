#include "core/files/DecimalNumber.h"

#include <cstdint>

#include <gtest/gtest.h>

TEST(DecimalNumberTest, TakesOnlyAWholeNumberInItsRange) {
  EXPECT_EQ(DecimalNumber(std::string_view("999"), 1, 999), 999);
  EXPECT_EQ(DecimalNumber(std::string_view("-1000"), -1000, 1000), -1000);
  for (const char* refused : {"", "0", "1000", "+5", " 5", "5 ", "5x", "0x10", "99999999999"}) {
    EXPECT_FALSE(DecimalNumber(std::string_view(refused), 1, 999)) << refused;
  }
  // A minus sign only where the range has negative numbers: "-0" is no
  // channel number.
  EXPECT_FALSE(DecimalNumber(std::string_view("-0"), 0, 9999));
  EXPECT_FALSE(DecimalNumber(std::string_view("-1"), std::uint32_t{0}, std::uint32_t{0xFFFF}));
  EXPECT_EQ(DecimalNumber(std::string_view("4294967295"), std::uint32_t{0}, std::uint32_t{0xFFFFFFFF}),
            0xFFFFFFFFu);
}

TEST(DecimalNumberTest, ARefusedWordLeavesTheValueAsItWas) {
  std::int64_t value = 7;
  EXPECT_FALSE(ReadDecimalNumber(std::string_view("12a"), std::int64_t{0}, INT64_MAX, value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(ReadDecimalNumber(std::string_view("253402300799"), std::int64_t{0}, INT64_MAX, value));
  EXPECT_EQ(value, 253402300799);
}
