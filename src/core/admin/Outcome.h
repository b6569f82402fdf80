#pragma once

#include <string>

namespace xinghe {

// What a user action ended with: whether it changed anything, and the message the
// user is shown ("" when there is none).
struct Outcome {
    bool ok = false;
    std::string message;
    static Outcome success(std::string msg = {}) { return {true, std::move(msg)}; }
    static Outcome failure(std::string msg) { return {false, std::move(msg)}; }
};

}  // namespace xinghe
