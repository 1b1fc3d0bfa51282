#pragma once
// Bit operators for scoped enums of flag bits. A type gets them only when it
// is named with ABILITA_BIT_FLAGS, so no other scoped enum mixes its values.
#include <type_traits>

template <typename T>
struct BitFlags : std::false_type {};

#define ABILITA_BIT_FLAGS(T) \
    template <>              \
    struct BitFlags<T> : std::true_type {}

template <typename T>
    requires BitFlags<T>::value
constexpr T operator|(T a, T b) {
    using U = std::underlying_type_t<T>;
    return static_cast<T>(static_cast<U>(static_cast<U>(a) | static_cast<U>(b)));
}

template <typename T>
    requires BitFlags<T>::value
constexpr T operator&(T a, T b) {
    using U = std::underlying_type_t<T>;
    return static_cast<T>(static_cast<U>(static_cast<U>(a) & static_cast<U>(b)));
}

template <typename T>
    requires BitFlags<T>::value
constexpr T operator~(T a) {
    using U = std::underlying_type_t<T>;
    return static_cast<T>(static_cast<U>(~static_cast<U>(a)));
}

template <typename T>
    requires BitFlags<T>::value
constexpr T& operator|=(T& a, T b) {
    return a = a | b;
}

template <typename T>
    requires BitFlags<T>::value
constexpr T& operator&=(T& a, T b) {
    return a = a & b;
}
