#include "info/DeviceListTexts.h"

#include <gtest/gtest.h>

TEST(DeviceListTextsTest, CaptureListLeavesOutTheSystemsOwnReceivers) {
  EXPECT_FALSE(IsCaptureDeviceListed("BDA Slip De-Framer"));
  EXPECT_FALSE(IsCaptureDeviceListed("BDA MPE Filter"));
  EXPECT_TRUE(IsCaptureDeviceListed("713x BDA Digital Capture"));
  EXPECT_TRUE(IsCaptureDeviceListed("BDA MPE Filter 2"));
  EXPECT_EQ(NoTunerLines().front(), "No Tuners Found-");
  EXPECT_EQ(NoCaptureLines(), (std::vector<std::string>{"No Capture Devices Found-",
                                                        "   Uninstall tuner drivers,",
                                                        "   restart computer,",
                                                        "   then install tuner drivers."}));
}
