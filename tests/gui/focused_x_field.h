#pragma once

#include <memory>
#include <string>

namespace korvel::test {

// A window of an X display that has the keyboard focus and writes down the text its key presses
// type, as a text field does. Kept apart from the tests, whose names Xlib's macros would clash
// with.
class FocusedXField {
public:
    explicit FocusedXField(const std::string& display);
    ~FocusedXField();

    // The text typed so far, once it is `expected` or 5 s have passed.
    std::string WaitFor(const std::string& expected);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

}  // namespace korvel::test
