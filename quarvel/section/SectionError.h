#pragma once

#include <stdexcept>
#include <string>

// The one error type of the section core. Its message is what the window's error box shows,
// so it is always a complete user-facing sentence.
class SectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
