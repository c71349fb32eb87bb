#include "adjust/KitLine.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(KitLine, NineThousandSixHundredEightNoneOneWithoutFlowControl) {
    const SerialLineSettings line = KitLineSettings();
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, SerialParity::None);
    EXPECT_EQ(line.StopBits, SerialStopBits::One);
    EXPECT_FALSE(line.CheckParity);
    // No handshake lines and no XON/XOFF: the kit sends whenever it likes.
    EXPECT_FALSE(line.OutxCtsFlow);
    EXPECT_FALSE(line.OutxDsrFlow);
    EXPECT_FALSE(line.DsrSensitivity);
    EXPECT_EQ(line.DtrControl, SerialLineControl::Off);
    EXPECT_EQ(line.RtsControl, SerialLineControl::Off);
    EXPECT_FALSE(line.OutX);
    EXPECT_FALSE(line.InX);
    // The replies arrive as sent, and a line error does not stop every read after it.
    EXPECT_FALSE(line.ReplaceErrors);
    EXPECT_FALSE(line.DiscardNulls);
    EXPECT_FALSE(line.AbortOnError);
}

TEST(KitLine, ABlockWindowsTakes) {
    // SetCommState refuses a block without binary mode or with XON equal to XOFF, even when
    // XON/XOFF is off.
    const SerialLineSettings line = KitLineSettings();
    EXPECT_TRUE(line.Binary);
    EXPECT_EQ(line.XonChar, 0x11);
    EXPECT_EQ(line.XoffChar, 0x13);
}

} // namespace
} // namespace lumora
