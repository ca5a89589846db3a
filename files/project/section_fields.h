#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vemro {

// Checking the fields of the project file's extension sections. Every message names the section
// by its four-letter tag, as the reader reports it.

// "low..high", as messages give a range.
inline std::string rangeText(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

inline std::string sectionLengthProblem(const char* tag, std::size_t length, std::size_t needed) {
    return std::string("the section \"") + tag + "\" is " + std::to_string(length) +
           " bytes long; it takes exactly " + std::to_string(needed);
}

// A yes/no byte that is neither 0 nor 1, or nothing.
inline std::optional<std::string> sectionFlagProblem(const char* tag, const char* what,
                                                     std::uint8_t value) {
    if (value <= 1) {
        return std::nullopt;
    }
    return std::string("the ") + what + " flag " + std::to_string(value) + " in the section \"" +
           tag + "\" is neither 0 nor 1";
}

// A value outside low..high, or nothing.
inline std::optional<std::string> sectionRangeProblem(const char* tag, const char* what,
                                                      std::int64_t value, std::int64_t low,
                                                      std::int64_t high) {
    if (value >= low && value <= high) {
        return std::nullopt;
    }
    return std::string("the ") + what + " " + std::to_string(value) + " in the section \"" + tag +
           "\" is outside the allowed range " + rangeText(low, high);
}

}  // namespace vemro
