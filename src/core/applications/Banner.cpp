#include "core/applications/Banner.h"

#include "core/text/Gbk.h"

namespace xinghe::applications {

std::string nextBannerText(const std::string& current, const std::string& banner) {
    std::string next = current.empty() ? banner : current;
    next.insert(next.begin(), ' ');
    if (text::gbkLength(next) == kBannerWidth) return banner;
    return next;
}

}  // namespace xinghe::applications
