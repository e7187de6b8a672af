#include "remote/RemoteKeyTables.h"

#include <gtest/gtest.h>

namespace {

RemoteMessage Key(char letter) { return RemoteMessage::Key(letter); }
RemoteMessage Command(int digit, int action) { return RemoteMessage::Command(digit, action); }

}  // namespace

TEST(RemoteKeyTablesTest, ViewerDigitsAndChannelCommandsBecomeRemoteCommands) {
  for (int digit = 0; digit <= 9; ++digit) EXPECT_EQ(ViewerMessageForKey(digit, 1), Command(digit, 0));
  EXPECT_EQ(ViewerMessageForKey(23, 1), Command(0, 1));
  EXPECT_EQ(ViewerMessageForKey(24, 1), Command(0, 2));
  EXPECT_EQ(ViewerMessageForKey(44, 1), Command(0, 3));
  EXPECT_EQ(ViewerMessageForKey(45, 1), Command(0, 3));
  EXPECT_EQ(ViewerMessageForKey(46, 1), Command(0, 10));
  EXPECT_EQ(ViewerMessageForKey(47, 1), Command(0, 10));
}

TEST(RemoteKeyTablesTest, ViewerKeyPressesBecomeItsShortcutLetters) {
  const std::pair<int, char> expected[] = {
      {25, 'R'}, {26, 'F'}, {27, 'V'}, {30, 'C'}, {31, 'Z'}, {32, 'A'}, {33, 'D'},
      {37, 'G'}, {38, 'T'}, {39, 'U'}, {40, 'L'}, {41, 'N'}, {48, 'M'}};
  for (auto [code, letter] : expected) EXPECT_EQ(ViewerMessageForKey(code, 1), Key(letter)) << code;
  for (int code : {-1, 10, 22, 28, 29, 34, 35, 36, 42, 43, 49, 0xFFFF})
    EXPECT_EQ(ViewerMessageForKey(code, 1), std::nullopt) << code;
}

TEST(RemoteKeyTablesTest, ViewerRepeatsOnlyTheVolumeKeys) {
  EXPECT_EQ(ViewerMessageForKey(25, 2), Key('R'));
  EXPECT_EQ(ViewerMessageForKey(26, 2), Key('F'));
  for (int code : {0, 5, 23, 27, 33, 46}) EXPECT_EQ(ViewerMessageForKey(code, 2), std::nullopt) << code;
  for (int type : {0, 3, 0xFFFF}) EXPECT_EQ(ViewerMessageForKey(25, type), std::nullopt) << type;
}

TEST(RemoteKeyTablesTest, PlayerKeyPressesBecomeItsShortcutLetters) {
  const std::pair<int, char> expected[] = {
      {25, 'U'}, {26, 'I'}, {27, 'O'}, {30, 'B'}, {31, 'V'}, {32, 'A'}, {33, 'D'},
      {35, 'F'}, {36, 'R'}, {37, 'W'}, {38, 'S'}, {39, 'X'}, {41, 'N'}, {48, 'M'}};
  for (auto [code, letter] : expected) EXPECT_EQ(PlayerMessageForKey(code, 1), Key(letter)) << code;
  EXPECT_EQ(PlayerMessageForKey(46, 1), Command(0, 0));
  EXPECT_EQ(PlayerMessageForKey(47, 1), Command(0, 0));
  // The players take no digits and no channel commands.
  for (int code : {0, 5, 9, 23, 24, 28, 34, 40, 44, 45, 49})
    EXPECT_EQ(PlayerMessageForKey(code, 1), std::nullopt) << code;
}

TEST(RemoteKeyTablesTest, PlayerRepeatsOnlyTheVolumeKeys) {
  EXPECT_EQ(PlayerMessageForKey(25, 2), Key('U'));
  EXPECT_EQ(PlayerMessageForKey(26, 2), Key('I'));
  EXPECT_EQ(PlayerMessageForKey(27, 2), std::nullopt);
  EXPECT_EQ(PlayerMessageForKey(46, 2), std::nullopt);
  EXPECT_EQ(PlayerMessageForKey(33, 0), std::nullopt);
  EXPECT_EQ(PlayerMessageForKey(33, 3), std::nullopt);
}
