// The one error type of form reading and writing.
#pragma once

#include <stdexcept>
#include <string>

namespace xinghe::forms {

// A form could not be read, converted or written. The message says why, in words an office
// user or the import log can use.
class FormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace xinghe::forms
