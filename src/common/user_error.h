// The one error type whose text is meant for the user. Anything a handler does not catch
// reaches the shell's general error handler, which shows what() and lets the program go on.
#pragma once

#include <stdexcept>
#include <string>

namespace tarvik {

class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tarvik
