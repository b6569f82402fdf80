// Program users, log-in and passwords. Passwords are stored as argon2id hashes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/admin/Outcome.h"
#include "core/store/Database.h"

namespace xinghe::admin {

inline constexpr const char* kSuperUser = "admin";
inline constexpr const char* kServedFund = "澄川基金";
inline constexpr const char* kOtherFund = "晨曦基金";

struct User {
    std::string uid;
    std::string name;
    std::string describe;
};

// Every user, in stored order.
std::vector<User> listUsers(db::Connection& conn);
std::optional<User> findUser(db::Connection& conn, const std::string& uid);

enum class LoginResult { Ok, BadCredentials, FundNotServed };
// Credentials are tested before the fund type.
LoginResult checkLogin(db::Connection& conn, const std::string& uid, const std::string& password,
                       const std::string& fundType);
std::string loginMessage(LoginResult r);

struct NewUser {
    std::string uid;
    std::string name;
    std::string describe;
    std::string password;
    std::string confirm;
};
// The add checks in order; on success the user is stored.
Outcome addUser(db::Connection& conn, const NewUser& u);
// "admin" (exactly) cannot be deleted or changed.
Outcome deleteUser(db::Connection& conn, const std::string& uid);
Outcome canModify(const std::string& uid);
Outcome modifyUser(db::Connection& conn, const std::string& uid, const std::string& name,
                   const std::string& describe);
Outcome changeOwnPassword(db::Connection& conn, const std::string& uid,
                          const std::string& oldPassword, const std::string& newPassword,
                          const std::string& confirm);

}  // namespace xinghe::admin
