#include <gtest/gtest.h>

#include "gui/skin/skin_rect.h"

namespace korvel {
namespace {

TEST(SkinRect, ReadsAsFarAsTheNumbersGo) {
    struct Case {
        const char* value;
        QRect rect;
    };
    const Case cases[] = {
        {"10,20,50,14", QRect(10, 20, 50, 14)},
        {"1,1,1,1,x", QRect(1, 1, 1, 1)},
        {"5,6", QRect(5, 6, 0, 0)},
        {"1,1,80,20", QRect(1, 1, 80, 20)},
        {" 7, 8 ,9,10", QRect(7, 8, 0, 0)},
        {"-3,4,5,6", QRect(-3, 4, 5, 6)},
        {"abc", QRect(0, 0, 0, 0)},
        {"", QRect(0, 0, 0, 0)},
        {"12,", QRect(12, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseSkinRect(QString::fromUtf8(c.value)), c.rect) << c.value;
    }
    EXPECT_TRUE(IsDisabledPlacement(ParseSkinRect("1,1,80,20")));
    EXPECT_FALSE(IsDisabledPlacement(ParseSkinRect("10,20,50,14")));
}

}  // namespace
}  // namespace korvel
