#include <gtest/gtest.h>

#include <regex>

#include "core/applications/Banner.h"
#include "core/text/Gbk.h"

using namespace xinghe::applications;
using xinghe::text::gbkLength;

TEST(Banner, ThanksTheFundOfficeWithItsTelephoneWithinTheWidth) {
    const std::string banner = kBannerText;
    EXPECT_LT(gbkLength(banner), kBannerWidth);
    EXPECT_NE(banner.find("星河署基金管理办公室"), std::string::npos);
    EXPECT_NE(banner.find("支持"), std::string::npos);
    EXPECT_TRUE(std::regex_search(banner, std::regex("[0-9]{3,4}-[0-9]{7,8}")));
}

TEST(Banner, EmptyLabelStartsWithTheBannerShiftedOnce) {
    EXPECT_EQ(nextBannerText(""), std::string(" ") + kBannerText);
}

TEST(Banner, CreepsOneBlankPerTickAndStartsAgainAtTheWidth) {
    for (const std::string& banner : {std::string(kBannerText), std::string("星河署"),
                                      std::string(124, 'x'), std::string("a")}) {
        const std::size_t n = gbkLength(banner);
        std::string text = banner;
        for (std::size_t tick = 1; tick < kBannerWidth - n; ++tick) {
            text = nextBannerText(text, banner);
            ASSERT_EQ(text, std::string(tick, ' ') + banner) << banner << " tick " << tick;
        }
        // The (125 - n)-th tick brings it back.
        EXPECT_EQ(nextBannerText(text, banner), banner) << banner;
    }
}
