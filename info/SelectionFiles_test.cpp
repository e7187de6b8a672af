#include "info/SelectionFiles.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(SelectionFilesTest, MissingSelectionsAreRefusedInOrder) {
  auto noTuner = CheckTunerSelection(std::nullopt, std::nullopt);
  ASSERT_TRUE(noTuner);
  EXPECT_EQ(noTuner->message, "No TUNER Selected!");
  EXPECT_EQ(noTuner->field, SelectionField::First);
  EXPECT_EQ(noTuner->fieldText, "No Tuner Selected!");

  auto noCapture = CheckTunerSelection("713x BDA ATSC Tuner", std::nullopt);
  ASSERT_TRUE(noCapture);
  EXPECT_EQ(noCapture->message, "No CAPTURE Selected!");
  EXPECT_EQ(noCapture->field, SelectionField::Second);
  EXPECT_EQ(noCapture->fieldText, "No Capture Selected!");

  auto noVideo = CheckDecoderSelection(std::nullopt, "AC3 Filter");
  ASSERT_TRUE(noVideo);
  EXPECT_EQ(noVideo->message, "No VIDEO DECODER Selected!");
  EXPECT_EQ(noVideo->fieldText, "No Video Decoder Selected!");

  auto noAudio = CheckDecoderSelection("MPEG-2 Decoder", std::string());
  ASSERT_TRUE(noAudio);
  EXPECT_EQ(noAudio->message, "No AUDIO DECODER Selected!");
  EXPECT_EQ(noAudio->field, SelectionField::Second);
  EXPECT_EQ(noAudio->fieldText, "No Audio Decoder Selected!");

  EXPECT_FALSE(CheckTunerSelection("713x BDA ATSC Tuner", "713x BDA Digital Capture"));
  EXPECT_FALSE(CheckDecoderSelection("MPEG-2 Decoder", "AC3 Filter"));
}

TEST(SelectionFilesTest, NamesTheReadersCannotTakeBackAreRefused) {
  const std::string longest(99, 'x');
  EXPECT_FALSE(CheckTunerSelection(longest, longest));

  auto tooLong = CheckTunerSelection(longest + "y", "Capture");
  ASSERT_TRUE(tooLong);
  EXPECT_EQ(tooLong->message, "TUNER NAME TOO LONG FOR TUNER.TXT!");
  EXPECT_EQ(tooLong->fieldText, "Name Too Long!");

  auto lineEnd = CheckDecoderSelection("Video", "Audio\nDecoder");
  ASSERT_TRUE(lineEnd);
  EXPECT_EQ(lineEnd->message, "AUDIO DECODER NAME TOO LONG FOR DECODERS.TXT!");
  EXPECT_EQ(lineEnd->field, SelectionField::Second);
}

TEST(SelectionFilesTest, CurrentContentTexts) {
  EXPECT_EQ(CurrentTunerFileText(std::nullopt), "No tuner.txt created");
  EXPECT_EQ(CurrentDecodersFileText(std::nullopt), "No decoders.txt created");
  EXPECT_EQ(CurrentTunerFileText(TunerNames{"Tuner A", "Capture B"}),
            "Current tuner.txt:\n   Tuner A\n   Capture B");
  EXPECT_EQ(CurrentDecodersFileText(DecoderNames{"Video C", ""}),
            "Current decoders.txt:\n   Video C\n   ");
}

TEST(SelectionFilesTest, AcceptedNamesWriteTheTwoLineFilesExactly) {
  TestFolder folder;
  const TunerNames tuner{"Hauppauge WinTV 885 BDA Tuner/Demod", "Hauppauge WinTV 885 TS Capture"};
  ASSERT_FALSE(CheckTunerSelection(tuner.tuner, tuner.capture));
  ASSERT_TRUE(WriteTunerFile(folder / "tuner.txt", tuner));
  EXPECT_EQ(folder.Read("tuner.txt"),
            "Hauppauge WinTV 885 BDA Tuner/Demod\nHauppauge WinTV 885 TS Capture\n");
  EXPECT_EQ(CurrentTunerFileText(ReadTunerFile(folder / "tuner.txt")),
            "Current tuner.txt:\n   Hauppauge WinTV 885 BDA Tuner/Demod\n   Hauppauge WinTV 885 TS Capture");

  const std::string longest(99, 'v');
  ASSERT_FALSE(CheckDecoderSelection(longest, "Audio, (AC-3)"));
  ASSERT_TRUE(WriteDecodersFile(folder / "decoders.txt", {longest, "Audio, (AC-3)"}));
  auto back = ReadDecodersFile(folder / "decoders.txt");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->video, longest);
  EXPECT_EQ(back->audio, "Audio, (AC-3)");
}
