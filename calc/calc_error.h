#pragma once
// Errors of the conversions and of the arithmetic of one calculation, as typed values:
// a function that can fail returns Checked<T>, and the first error ends the calculation.

#include <cstdint>
#include <utility>

namespace tremira::calc {

struct CalcError {
    static constexpr std::int32_t Overflow = 6;
    static constexpr std::int32_t DivisionByZero = 11;
    static constexpr std::int32_t TypeMismatch = 13;

    std::int32_t Number = 0;

    static CalcError overflow() { return {Overflow}; }
    static CalcError divisionByZero() { return {DivisionByZero}; }
    static CalcError typeMismatch() { return {TypeMismatch}; }

    friend bool operator==(const CalcError &a, const CalcError &b) { return a.Number == b.Number; }
};

// A value or the error that prevented it.
template <typename T>
class Checked {
public:
    Checked(T value) : m_value(std::move(value)) {}
    Checked(CalcError error) : m_error(error) {}

    bool ok() const { return m_error.Number == 0; }
    explicit operator bool() const { return ok(); }
    // The value is meaningful only when ok().
    const T &value() const { return m_value; }
    T &value() { return m_value; }
    const T &operator*() const { return value(); }
    T &operator*() { return value(); }
    CalcError error() const { return m_error; }

private:
    T m_value{};
    CalcError m_error{};  // Number 0: no error
};

}  // namespace tremira::calc
