// GBK (code page 936) helpers. Stored texts are UTF-8; lengths the office counts
// are GBK bytes, two for each Chinese character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace xinghe::text {

// UTF-8 to GBK; nullopt when the text holds a character GBK cannot write.
std::optional<std::string> utf8ToGbk(std::string_view utf8);
// GBK to UTF-8; nullopt when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);
// Length in GBK bytes. A character GBK cannot write counts two bytes, as a
// replacement character would.
std::size_t gbkLength(std::string_view utf8);

// True when the bytes are valid UTF-8.
bool isValidUtf8(std::string_view s);

}  // namespace xinghe::text
