// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fuzzers are built with clang, whose concepts support is too old for the
// standard library's <expected>. This stands in for the part of it the
// library uses, in fuzzer builds only; GCC builds never see it.

#include <version>

#if !defined(__cpp_lib_expected)

#include <type_traits>
#include <utility>
#include <variant>

namespace std {

template <class E>
class unexpected {
public:
    template <class G = E>
    explicit unexpected(G&& error) : error_(std::forward<G>(error)) {}
    const E& error() const& { return error_; }
    E& error() & { return error_; }
    E&& error() && { return std::move(error_); }

private:
    E error_;
};

template <class E>
unexpected(E) -> unexpected<E>;

template <class T, class E>
class expected {
public:
    expected() : value_(std::in_place_index<0>) {}
    template <class U = T, class = enable_if_t<is_constructible_v<T, U&&> && !is_same_v<decay_t<U>, expected>>>
    expected(U&& value) : value_(std::in_place_index<0>, std::forward<U>(value)) {}
    template <class G>
    expected(const unexpected<G>& error) : value_(std::in_place_index<1>, error.error()) {}
    template <class G>
    expected(unexpected<G>&& error) : value_(std::in_place_index<1>, std::move(error).error()) {}

    bool has_value() const { return value_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    T& value() & { return std::get<0>(value_); }
    const T& value() const& { return std::get<0>(value_); }
    T& operator*() { return std::get<0>(value_); }
    const T& operator*() const { return std::get<0>(value_); }
    T* operator->() { return &std::get<0>(value_); }
    const T* operator->() const { return &std::get<0>(value_); }
    E& error() { return std::get<1>(value_); }
    const E& error() const { return std::get<1>(value_); }
    template <class U>
    T value_or(U&& fallback) const { return has_value() ? **this : static_cast<T>(std::forward<U>(fallback)); }

private:
    variant<T, E> value_;
};

template <class E>
class expected<void, E> {
public:
    expected() = default;
    template <class G>
    expected(const unexpected<G>& error) : error_(error.error()), failed_(true) {}
    bool has_value() const { return !failed_; }
    explicit operator bool() const { return has_value(); }
    E& error() { return error_; }
    const E& error() const { return error_; }

private:
    E error_{};
    bool failed_ = false;
};

} // namespace std

#endif
