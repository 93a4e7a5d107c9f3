// The Schema page's view: the layout per size class and the scroll step of its bars.
#include <gtest/gtest.h>

#include "pages/schema/schema.h"

using namespace kestos;

TEST(Schema, LayoutPerClass) {
    const struct {
        int sizeClass;
        PixelBox view;
        bool bars;
        unsigned maxX, maxY;
    } cases[] = {
        {1, {10, 10, 600, 370}, true, 361, 266},
        {2, {10, 10, 750, 485}, true, 211, 151},
        {3, {(1018 - 961) / 2, (684 - 636) / 2, 961, 636}, false, 0, 0},
        {5, {(1274 - 961) / 2, (921 - 636) / 2, 961, 636}, false, 0, 0},
    };
    for (const auto& c : cases) {
        schemaState = SchemaState{};
        schemaState.schemaScrollX = 77, schemaState.schemaScrollY = 5;
        SchemaLayout l = startSchemaLayout(c.sizeClass, c.sizeClass == 3 ? 1018 : 1274,
                                           c.sizeClass == 3 ? 684 : 921);
        const PixelBox& v = schemaState.schemaView;
        EXPECT_EQ(std::vector<int>({v.x, v.y, v.width, v.height}),
                  std::vector<int>({c.view.x, c.view.y, c.view.width, c.view.height}))
            << c.sizeClass;
        EXPECT_EQ(l.barsShown, c.bars);
        EXPECT_EQ(schemaState.schemaMaxX, c.maxX);
        EXPECT_EQ(schemaState.schemaMaxY, c.maxY);
        EXPECT_EQ(schemaState.schemaScrollX + schemaState.schemaScrollY, 0) << "from the start";
    }
}

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
