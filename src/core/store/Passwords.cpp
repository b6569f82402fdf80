#include "core/store/Passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace xinghe::store {

namespace {
void initSodium() {
    static const bool ok = sodium_init() >= 0;
    if (!ok) throw std::runtime_error("libsodium could not be initialised");
}
}  // namespace

std::string hashPassword(std::string_view password) {
    initSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw std::runtime_error("out of memory while hashing a password");
    }
    return out;
}

bool verifyPassword(std::string_view stored, std::string_view password) {
    initSodium();
    std::string s(stored);
    if (s.rfind("$argon2", 0) != 0) return false;
    return crypto_pwhash_str_verify(s.c_str(), password.data(), password.size()) == 0;
}

}  // namespace xinghe::store
