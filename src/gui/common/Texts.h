// Small text helpers shared by the windows.
#pragma once

#include <QString>
#include <string>

namespace xinghe::gui {

// The product title every window caption carries.
inline QString productTitle() {
    return QStringLiteral("星河署基金管理软件");
}

// Core texts are UTF-8 std::string; the windows speak QString.
inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string ss(const QString& s) {
    return s.toStdString();
}

}  // namespace xinghe::gui
