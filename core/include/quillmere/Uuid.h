// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// A 128-bit identifier. Records are identified by one; in files it is the
// 36-character hyphenated text, written in upper case and read in either case.
class Uuid {
public:
    // The nil identifier (all zero bits); only useful as a placeholder.
    constexpr Uuid() = default;
    explicit constexpr Uuid(const std::array<std::uint8_t, 16>& bytes) : bytes_(bytes) {}

    // A random version-4 identifier drawn from the kernel's generator.
    static Uuid generate();

    // Accepts exactly the 8-4-4-4-12 hexadecimal form, in any letter case.
    static std::optional<Uuid> parse(std::string_view text);

    std::string toString() const;
    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

    friend constexpr bool operator==(const Uuid&, const Uuid&) = default;
    friend constexpr auto operator<=>(const Uuid&, const Uuid&) = default;

private:
    std::array<std::uint8_t, 16> bytes_{};
};

} // namespace quillmere
