// Names of enumeration values, so stored forms can say `bvLowered` instead of 1.
//
//   HOST_ENUM(TZYRBevelStyle, uint8_t, bvNone, bvLowered, bvRaised)
// declares the enumeration and its names together; HOST_ENUM_INFO(Type, a, b, c) adds names
// to an enumeration declared elsewhere. Values must run 0, 1, 2, ... (checked when compiled).
// EnumTypeOf(value) finds the names by argument-dependent lookup.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class EnumType {
 public:
  // names_list is the enumerators as written in the source: "bvNone, bvLowered, bvRaised".
  EnumType(std::string_view type_name, std::string_view names_list);
  const std::string& TypeName() const { return type_name_; }
  int Count() const { return static_cast<int>(names_.size()); }
  // The name of value, or "" when value is out of range.
  const std::string& Name(int64_t value) const;
  // The value named name, ignoring ASCII case; -1 when there is none.
  int Find(std::string_view name) const;

 private:
  std::string type_name_;
  std::vector<std::string> names_;
};

template <class E>
constexpr bool IsSequentialEnum(std::initializer_list<E> values) {
  long long expected = 0;
  for (E v : values) {
    if (static_cast<long long>(v) != expected++) return false;
  }
  return true;
}

template <class E>
concept NamedEnum = requires(E e) {
  { EnumTypeOf(e) } -> std::same_as<const EnumType&>;
};

}  // namespace host

#define HOST_ENUM_INFO(Type, ...)                                                           \
  inline const ::host::EnumType& EnumTypeOf(Type) {                                         \
    static_assert(::host::IsSequentialEnum<Type>({__VA_ARGS__}),                            \
                  #Type " values must run 0, 1, 2, ... to have names");                     \
    static const ::host::EnumType info(#Type, #__VA_ARGS__);                                \
    return info;                                                                            \
  }

#define HOST_ENUM(Type, Underlying, ...)  \
  enum Type : Underlying { __VA_ARGS__ }; \
  HOST_ENUM_INFO(Type, __VA_ARGS__)
