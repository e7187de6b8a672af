#include "core/tuning/TuningModel.h"

#include <gtest/gtest.h>

namespace {

TuningModel Model(int number) { return *FindTuningModel(number, std::nullopt); }

const DecoderNames kNoDecoders;

}  // namespace

TEST(TuningModelTest, EveryCatalogueRowExistsAndUnusedNumbersDoNot) {
  for (int model = 0; model <= 17; ++model) {
    const auto row = FindTuningModel(model, std::nullopt);
    ASSERT_TRUE(row) << model;
    EXPECT_EQ(row->number, model);
    EXPECT_FALSE(row->titleSuffix.empty());
    EXPECT_FALSE(row->tunerNames.empty());
    EXPECT_EQ(row->hasCaptureFilter, model != 8) << model;
  }
  for (int model : {-1, 18, 19, 21}) EXPECT_FALSE(FindTuningModel(model, std::nullopt)) << model;
  const auto catalogue = CatalogueModels();
  ASSERT_EQ(catalogue.size(), 18u);
  for (int model = 0; model <= 17; ++model) EXPECT_EQ(catalogue[model].number, model);
  EXPECT_FALSE(FindTuningModel(20, std::nullopt));
}

TEST(TuningModelTest, ModelDependentFactsAreFieldsOfTheRow) {
  struct Expected {
    int model;
    bool hasCaptureFilter;
    SignalScale scale;
    int wakeUpTaskNumber;
  };
  for (const Expected& e : {Expected{0, true, SignalScale::AtiDtvWonder, 0},
                            Expected{1, true, SignalScale::FusionHdtv, 1},
                            Expected{2, true, SignalScale::FusionHdtv, 2},
                            Expected{4, true, SignalScale::VBox, 4},
                            Expected{5, true, SignalScale::VBox, 4},
                            Expected{8, false, SignalScale::PerCent, 8},
                            Expected{17, true, SignalScale::PerCent, 17}}) {
    const TuningModel row = Model(e.model);
    EXPECT_EQ(row.hasCaptureFilter, e.hasCaptureFilter) << e.model;
    EXPECT_EQ(row.signalScale, e.scale) << e.model;
    EXPECT_EQ(row.wakeUpTaskNumber, e.wakeUpTaskNumber) << e.model;
  }
  EXPECT_TRUE(Model(8).captureNames.empty());
  // tuner.txt names a capture filter, even an empty one.
  const auto named = FindTuningModel(20, TunerNames{"My Tuner", ""});
  ASSERT_TRUE(named);
  EXPECT_TRUE(named->hasCaptureFilter);
  EXPECT_EQ(named->signalScale, SignalScale::PerCent);
}

TEST(TuningModelTest, DetectionFindsEveryModelByItsDriverName) {
  EXPECT_EQ(DetectModel("ATI DTV Wonder Digital BDA Tuner"), 0);
  EXPECT_EQ(DetectModel("FusionHDTV, BDA Tuner1"), 1);
  EXPECT_EQ(DetectModel("FusionHDTV, BDA ATSC Tuner/Demod"), 1);
  EXPECT_EQ(DetectModel("Bluebird, BDA Tuner"), 2);
  EXPECT_EQ(DetectModel("VBox TV Tuner (DTF8600)"), 4);
  EXPECT_EQ(DetectModel("VBox TV Tuner (DTF8600 - ATSC)"), 5);
  EXPECT_EQ(DetectModel("DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver"), 8);
  EXPECT_EQ(DetectModel("PCTV 330e/800e BDA TVTuner"), 13);
  EXPECT_EQ(DetectModel("BDA 2883 TVTuner"), 13);
  EXPECT_EQ(DetectModel("Hauppauge WinTV 885 BDA Tuner/Demod"), 17);
  EXPECT_EQ(DetectModel("hauppauge WinTV 885 BDA Tuner/Demod"), std::nullopt);
  EXPECT_EQ(DetectModel(""), std::nullopt);
}

TEST(TuningModelTest, Model10IsDetectedWithoutTheBlankButLoadedOnlyWithIt) {
  EXPECT_EQ(DetectModel("BDA 2881 TVTuner"), 10);
  EXPECT_EQ(DetectModel("BDA 2881 TVTuner "), std::nullopt);
  const TuningModel row = Model(10);
  EXPECT_TRUE(AcceptsDevice(row, "BDA 2881 TVTuner ", FilterRole::Tuner, kNoDecoders));
  EXPECT_FALSE(AcceptsDevice(row, "BDA 2881 TVTuner", FilterRole::Tuner, kNoDecoders));
}

TEST(TuningModelTest, DecodersAreAcceptedOnlyInTheirOwnRole) {
  const DecoderNames decoders{"Video Dec", "Audio Dec"};
  const TuningModel row = Model(17);
  EXPECT_TRUE(AcceptsDevice(row, "Hauppauge WinTV 885 TS Capture", FilterRole::Capture, decoders));
  EXPECT_TRUE(AcceptsDevice(row, "Video Dec", FilterRole::VideoDecoder, decoders));
  EXPECT_FALSE(AcceptsDevice(row, "Video Dec", FilterRole::AudioDecoder, decoders));
  EXPECT_TRUE(AcceptsDevice(row, "Audio Dec", FilterRole::AudioDecoder, decoders));
  EXPECT_FALSE(AcceptsDevice(row, "Audio Dec", FilterRole::Capture, decoders));
  // Without decoders.txt the empty name must not match an unnamed device.
  EXPECT_FALSE(AcceptsDevice(row, "Other", FilterRole::VideoDecoder, kNoDecoders));
}

TEST(TuningModelTest, Models4And5ShareTitlesKeysAndTask) {
  const TuningModel four = Model(4);
  const TuningModel five = Model(5);
  for (auto window : {ProgramWindow::ViewerPanel, ProgramWindow::Scheduler,
                      ProgramWindow::SilentRecorderTs}) {
    EXPECT_EQ(WindowTitle(four, window), WindowTitle(five, window));
  }
  EXPECT_EQ(TimeshiftRegistryKey(four), TimeshiftRegistryKey(five));
  EXPECT_EQ(RecordRegistryKey(four), "SOFTWARE\\Telvantis\\VBox TV Tuner\\Record");
  EXPECT_EQ(WakeUpTaskName(four), "Telvantis Standby4");
  EXPECT_EQ(WakeUpTaskName(five), "Telvantis Standby4");
  EXPECT_NE(four.tunerNames, five.tunerNames);
}

TEST(TuningModelTest, TitlesKeysAndTaskNames) {
  const TuningModel kworld = Model(6);
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::ViewerPanel), "Telvantis- KWorld ATSC 110");
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::ViewerVideo), "Telvantis Video- KWorld ATSC 110");
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::Scheduler), "Telvantis Scheduler- KWorld ATSC 110");
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::SchedulerTs),
            "Telvantis Scheduler TS- KWorld ATSC 110");
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::SilentRecorder), "Silent Record- KWorld ATSC 110");
  EXPECT_EQ(WindowTitle(kworld, ProgramWindow::SilentRecorderTs),
            "Silent Record TS- KWorld ATSC 110");
  const TuningModel hauppauge = Model(17);
  EXPECT_EQ(TimeshiftRegistryKey(hauppauge), "SOFTWARE\\Telvantis\\Hauppauge WinTV 885\\Timeshift");
  EXPECT_EQ(SetupDisplayName(Model(0)), " ATI DTV Wonder Digital BDA Tuner");
  EXPECT_EQ(WindowTitle(Model(0), ProgramWindow::ViewerPanel), "Telvantis- HDTV Wonder");
  EXPECT_EQ(WakeUpTaskName(hauppauge), "Telvantis Standby17");
}

TEST(TuningModelTest, Model20IsBuiltFromTunerTxt) {
  const TunerNames names{"My Tuner", "My Capture"};
  const auto row = FindTuningModel(20, names);
  ASSERT_TRUE(row);
  EXPECT_EQ(WindowTitle(*row, ProgramWindow::ViewerVideo), "Telvantis Video- My Tuner");
  EXPECT_EQ(RecordRegistryKey(*row), "SOFTWARE\\Telvantis\\My Tuner\\Record");
  EXPECT_EQ(WakeUpTaskName(*row), "Telvantis Standby My Tuner");
  EXPECT_EQ(row->decoderRule, DecoderRule::GraphInserts);
  EXPECT_TRUE(AcceptsDevice(*row, "My Capture", FilterRole::Capture, kNoDecoders));
  // A 99-character tuner name makes long titles, never a cut or overflow.
  const std::string longName(99, 'n');
  EXPECT_EQ(WindowTitle(*FindTuningModel(20, TunerNames{longName, "c"}),
                        ProgramWindow::SilentRecorderTs),
            "Silent Record TS- " + longName);
}

TEST(TuningModelTest, DecoderRules) {
  EXPECT_EQ(Model(0).decoderRule, DecoderRule::AtiByClassId);
  EXPECT_EQ(Model(1).decoderRule, DecoderRule::FusionByClassId);
  EXPECT_EQ(Model(2).decoderRule, DecoderRule::FusionByClassId);
  for (int model = 3; model <= 17; ++model) {
    EXPECT_EQ(Model(model).decoderRule, DecoderRule::GraphInserts) << model;
  }
}
