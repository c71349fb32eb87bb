#include "shell/FormRules.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(FormRules, ThePointerGoesToTheFirstFocusableOfDefaultCancelAndTheDialog) {
    EXPECT_EQ(ChooseSnapTarget({true, true, true}), SnapTarget::DefaultButton);
    EXPECT_EQ(ChooseSnapTarget({true, false, false}), SnapTarget::DefaultButton);
    // A disabled OK sends the pointer to Cancel, not to the middle of the dialog.
    EXPECT_EQ(ChooseSnapTarget({false, true, true}), SnapTarget::CancelButton);
    EXPECT_EQ(ChooseSnapTarget({false, false, true}), SnapTarget::ClientCentre);
    EXPECT_EQ(ChooseSnapTarget({false, false, false}), SnapTarget::Nowhere);
}

} // namespace
} // namespace lumora
