#include "core/admin/UnitInfo.h"

namespace xinghe::admin {

std::optional<UnitRecord> loadUnit(db::Connection& conn) {
    auto st = conn.prepare("SELECT * FROM CollegeInfo ORDER BY rowid");
    std::optional<UnitRecord> out;
    while (st.step()) {
        UnitRecord r;
        r.collegenum = st.text("collegenum");
        r.name = st.text("Name");
        r.department = st.text("Department");
        r.post = st.text("post");
        r.sheng = st.text("sheng");
        r.shi = st.text("shi");
        r.qu = st.text("qu");
        r.jie = st.text("jie");
        r.hao = st.text("hao");
        r.address = st.text("address");
        r.man = st.text("man");
        r.phone = st.text("phone");
        r.email = st.text("email");
        r.countname = st.text("countname");
        r.bank = st.text("bank");
        r.count = st.text("count");
        r.managedepart = st.text("managedepart");
        r.code = st.text("code");
        out = std::move(r);
    }
    return out;
}

bool unitRegistered(db::Connection& conn) {
    auto st = conn.prepare("SELECT 1 FROM CollegeInfo");
    return st.step();
}

std::vector<std::string> universityNames(db::Connection& conn) {
    std::vector<std::string> out;
    auto st = conn.prepare("SELECT name FROM UniversityCode ORDER BY rowid");
    while (st.step()) out.push_back(st.text(0));
    return out;
}

std::optional<std::string> universityCode(db::Connection& conn, const std::string& name) {
    auto st = conn.prepare("SELECT code FROM UniversityCode WHERE name = ?1");
    st.bind(1, name);
    if (!st.step()) return std::nullopt;
    return st.text(0);
}

std::string joinAddress(const UnitRecord& r) {
    return r.sheng + r.shi + r.qu + r.jie + r.hao;
}

Outcome saveUnit(db::Connection& conn, const UnitRecord& r) {
    for (const std::string* required : {&r.collegenum, &r.department, &r.address, &r.sheng, &r.jie,
                                        &r.bank, &r.count, &r.managedepart}) {
        if (required->empty()) return Outcome::failure("请认真填写所有信息！");
    }
    db::Transaction tx(conn);
    conn.execScript("DELETE FROM CollegeInfo");
    conn.prepare(
            "INSERT INTO CollegeInfo "
            "(collegenum,Name,Department,post,sheng,shi,qu,jie,hao,address,man,phone,email,"
            "countname,bank,count,managedepart,code) VALUES "
            "(:collegenum,:Name,:Dep,:post,:sheng,:shi,:qu,:jie,:hao,:add,:man,:phone,:email,"
            ":countname,:bank,:count,:md,:code)")
        .bind(":collegenum", r.collegenum)
        .bind(":Name", r.name)
        .bind(":Dep", r.department)
        .bind(":post", r.post)
        .bind(":sheng", r.sheng)
        .bind(":shi", r.shi)
        .bind(":qu", r.qu)
        .bind(":jie", r.jie)
        .bind(":hao", r.hao)
        .bind(":add", r.address)
        .bind(":man", r.man)
        .bind(":phone", r.phone)
        .bind(":email", r.email)
        .bind(":countname", r.countname)
        .bind(":bank", r.bank)
        .bind(":count", r.count)
        .bind(":md", r.managedepart)
        .bind(":code", r.code)
        .exec();
    tx.commit();
    return Outcome::success("保存成功！");
}

}  // namespace xinghe::admin
