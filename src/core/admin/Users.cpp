#include "core/admin/Users.h"

#include "core/store/Passwords.h"

namespace xinghe::admin {

namespace {

bool passwordMatches(db::Connection& conn, const std::string& uid, const std::string& password) {
    auto st = conn.prepare("SELECT PASSWORD FROM Users WHERE UID = :uid");
    st.bind(":uid", uid);
    // Any row of that name whose hash verifies counts.
    while (st.step()) {
        if (store::verifyPassword(st.text(0), password)) return true;
    }
    return false;
}

}  // namespace

std::vector<User> listUsers(db::Connection& conn) {
    std::vector<User> out;
    auto st = conn.prepare("SELECT UID, NAME, DESCRIBE FROM Users ORDER BY rowid");
    while (st.step()) out.push_back({st.text(0), st.text(1), st.text(2)});
    return out;
}

std::optional<User> findUser(db::Connection& conn, const std::string& uid) {
    auto st = conn.prepare("SELECT UID, NAME, DESCRIBE FROM Users WHERE UID = :uid");
    st.bind(":uid", uid);
    if (!st.step()) return std::nullopt;
    return User{st.text(0), st.text(1), st.text(2)};
}

LoginResult checkLogin(db::Connection& conn, const std::string& uid, const std::string& password,
                       const std::string& fundType) {
    if (!passwordMatches(conn, uid, password)) return LoginResult::BadCredentials;
    if (fundType != kServedFund) return LoginResult::FundNotServed;
    return LoginResult::Ok;
}

std::string loginMessage(LoginResult r) {
    switch (r) {
        case LoginResult::Ok:
            return {};
        case LoginResult::BadCredentials:
            return "用户名\\密码不匹配,请重试";
        case LoginResult::FundNotServed:
            return "目前尚未开设此基金管理服务";
    }
    return {};
}

Outcome addUser(db::Connection& conn, const NewUser& u) {
    if (u.uid.empty()) return Outcome::failure("所填用户名不能为空！");
    if (u.name.empty()) return Outcome::failure("所填用户真实姓名不能为空！");
    if (u.password.empty()) return Outcome::failure("所填密码不能为空！");
    if (u.confirm.empty()) return Outcome::failure("所填确认密码不能为空！");
    if (u.password != u.confirm) return Outcome::failure("所填密码与确认密码不一致！");
    db::Transaction tx(conn);
    if (findUser(conn, u.uid)) {
        return Outcome::failure("对不起，该用户名已经被使用，请输入新的用户名！");
    }
    conn.prepare("INSERT INTO Users (UID, NAME, PASSWORD, DESCRIBE) VALUES (?1, ?2, ?3, ?4)")
        .bind(1, u.uid)
        .bind(2, u.name)
        .bind(3, store::hashPassword(u.password))
        .bind(4, u.describe)
        .exec();
    tx.commit();
    return Outcome::success();
}

Outcome deleteUser(db::Connection& conn, const std::string& uid) {
    if (uid == kSuperUser) return Outcome::failure("对不起，系统超级用户不可删除！");
    conn.prepare("DELETE FROM Users WHERE UID = ?1").bind(1, uid).exec();
    return Outcome::success();
}

Outcome canModify(const std::string& uid) {
    if (uid == kSuperUser) return Outcome::failure("对不起，系统超级用户信息不可修改！");
    return Outcome::success();
}

Outcome modifyUser(db::Connection& conn, const std::string& uid, const std::string& name,
                   const std::string& describe) {
    if (auto c = canModify(uid); !c.ok) return c;
    if (name.empty()) return Outcome::failure("所填用户真实姓名不能为空！");
    conn.prepare("UPDATE Users SET NAME = :name, DESCRIBE = :describe WHERE UID = :uid")
        .bind(":name", name)
        .bind(":describe", describe)
        .bind(":uid", uid)
        .exec();
    return Outcome::success();
}

Outcome changeOwnPassword(db::Connection& conn, const std::string& uid,
                          const std::string& oldPassword, const std::string& newPassword,
                          const std::string& confirm) {
    if (newPassword != confirm) return Outcome::failure("所填密码与确认密码不一致！");
    if (!passwordMatches(conn, uid, oldPassword)) {
        return Outcome::failure("输入的旧密码不正确，请重试");
    }
    conn.prepare("UPDATE Users SET PASSWORD = :pw WHERE UID = :uid")
        .bind(":pw", store::hashPassword(newPassword))
        .bind(":uid", uid)
        .exec();
    return Outcome::success("密码修改成功！");
}

}  // namespace xinghe::admin
