// The line that creeps along the bottom of the application manager.
#pragma once

#include <cstddef>
#include <string>

namespace xinghe::applications {

// The thanks of the fund office, with its telephone number. Shorter than kBannerWidth bytes.
inline constexpr const char* kBannerText =
    "衷心感谢社会各界对星河署基金工作的关心和支持！星河署基金管理办公室 电话：010-68765432";

// Once the line has grown to this many GBK bytes it starts again from the banner text.
inline constexpr std::size_t kBannerWidth = 125;

// The text after one step of the banner: an empty text becomes the banner, one blank
// goes in front, and a text of exactly kBannerWidth bytes goes back to the banner.
std::string nextBannerText(const std::string& current, const std::string& banner = kBannerText);

}  // namespace xinghe::applications
