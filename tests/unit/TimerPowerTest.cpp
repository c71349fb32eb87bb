#include "tools/TimerPower.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

using Op = TimerOperation;

// As GetPwrCapabilities reports some kinds of computer.
constexpr PowerCapabilities Desktop{.Known = true, .ClassicSleep = true, .Hibernation = true};
constexpr PowerCapabilities DesktopHibernationOff{.Known = true, .ClassicSleep = true, .Hibernation = false};
constexpr PowerCapabilities ModernStandbyLaptop{
    .Known = true, .ClassicSleep = false, .Hibernation = true, .ModernStandby = true};
// Firmware that still lists S3 beside modern standby: sleep through SetSuspendState is not it.
constexpr PowerCapabilities ModernStandbyListingS3{
    .Known = true, .ClassicSleep = true, .Hibernation = false, .ModernStandby = true};
constexpr PowerCapabilities VirtualMachine{.Known = true};
constexpr PowerCapabilities Unread{};

TEST(TimerPower, OperationsOfferedByKindOfComputer) {
    struct Case {
        const char* name;
        PowerCapabilities power;
        bool standby;
        bool hibernate;
    };
    const Case cases[] = {
        {"desktop", Desktop, true, true},
        {"hibernation off", DesktopHibernationOff, true, false},
        {"modern standby", ModernStandbyLaptop, false, true},
        {"modern standby listing S3", ModernStandbyListingS3, false, false},
        {"virtual machine", VirtualMachine, false, false},
        {"unread", Unread, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimerOperationOffered(Op::Standby, c.power), c.standby) << c.name;
        EXPECT_EQ(TimerOperationOffered(Op::Hibernate, c.power), c.hibernate) << c.name;
        for (const Op always : {Op::None, Op::RunProgram, Op::ShutDown}) {
            EXPECT_TRUE(TimerOperationOffered(always, c.power)) << c.name;
        }
    }
}

TEST(TimerPower, TheListHoldsWhatIsOfferedAndKeepsTheCurrentChoice) {
    using List = std::vector<Op>;
    EXPECT_EQ(TimerOperationList(Desktop, Op::None),
              (List{Op::None, Op::RunProgram, Op::ShutDown, Op::Standby, Op::Hibernate}));
    EXPECT_EQ(TimerOperationList(ModernStandbyLaptop, Op::ShutDown),
              (List{Op::None, Op::RunProgram, Op::ShutDown, Op::Hibernate}));
    EXPECT_EQ(TimerOperationList(VirtualMachine, Op::RunProgram), (List{Op::None, Op::RunProgram, Op::ShutDown}));
    // Chosen while the computer still had it (hibernation switched off since): kept, in its place.
    EXPECT_EQ(TimerOperationList(VirtualMachine, Op::Hibernate),
              (List{Op::None, Op::RunProgram, Op::ShutDown, Op::Hibernate}));
    EXPECT_EQ(TimerOperationList(ModernStandbyLaptop, Op::Standby),
              (List{Op::None, Op::RunProgram, Op::ShutDown, Op::Standby, Op::Hibernate}));
}

} // namespace
} // namespace lumora
