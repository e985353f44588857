#include <gtest/gtest.h>
#include "platform/platform.h"

TEST(KeyTranslation, LettersDigitsAndShift) {
    EXPECT_EQ(platform::virtualKeyFromSdlKeycode('a'), 0x41);
}
