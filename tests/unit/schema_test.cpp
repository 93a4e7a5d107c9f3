// The Schema page's scroll step (its layout per class is the size-class table's, tested there).
#include <gtest/gtest.h>

#include "pages/schema/schema.h"

using namespace kestos;

TEST(Schema, ScrollStep) {
    const struct {
        int from;
        ScrollCode code;
        int to;
    } steps[] = {
        {355, ScrollCode::lineRight, 361}, {351, ScrollCode::lineRight, 361},
        {300, ScrollCode::pageRight, 350}, {320, ScrollCode::pageRight, 361},
        {30, ScrollCode::pageLeft, 1},     {60, ScrollCode::pageLeft, 10},
        {0, ScrollCode::lineLeft, 1},      {11, ScrollCode::lineLeft, 1},
        {20, ScrollCode::lineLeft, 10},    {-50, ScrollCode::lineRight, 361},
        {40, ScrollCode::thumbTrack, 123}, {40, ScrollCode::other, 40},
    };
    for (const auto& s : steps)
        EXPECT_EQ(schemaScrollStep(s.from, 361, s.code, 123), s.to)
            << s.from << " code " << static_cast<int>(s.code);
}
