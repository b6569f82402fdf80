// Password hashing: argon2id through libsodium. Passwords are never stored as typed.
#pragma once

#include <string>
#include <string_view>

namespace xinghe::store {

std::string hashPassword(std::string_view password);
// True when the password matches the stored hash. A stored value that is not a hash
// never matches.
bool verifyPassword(std::string_view stored, std::string_view password);

}  // namespace xinghe::store
