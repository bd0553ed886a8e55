// How a class publishes its properties, handler methods and component fields.
//
// In the header:                        In the source:
//   class TZYRBevel : public TPersistent {  HOST_PUBLISHED(TZYRBevel, host::TPersistent) {
//     HOST_CLASS(TZYRBevel)                   HOST_PROP(StyleOuter, bvRaised);
//     ...                                     HOST_PROP(Width, 1).Range(0, 100);
//   };                                        HOST_COLOR_PROP(Color, clBtnFace);
//                                             HOST_EVENT(OnChange);
//                                           }
// HOST_PROP(Foo, default) publishes the getter Foo() and the setter SetFoo(value); without a
// default an ordinal property is always stored. The kind follows the getter's type: bool,
// char, a named enumeration (HOST_ENUM), Set<E>, whole numbers, double, std::string, a
// TPersistent* sub-object (its own properties are stored under "Foo."), a TComponent*
// reference (stored by name). TColor and TDateTime share their types with int32_t and
// double, so they have their own macros. Classes without published members use
// HOST_DEFINE_CLASS(Name, Parent).
#pragma once

#include <any>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>

#include "host/classes/component.h"
#include "host/classes/enuminfo.h"
#include "host/classes/set.h"
#include "host/classes/sysutils.h"
#include "host/classes/typinfo.h"

namespace host {

namespace publish_detail {

template <class F>
struct Getter;
template <class C, class R>
struct Getter<R (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct Getter<R (C::*)() const noexcept> : Getter<R (C::*)() const> {};
template <class C, class R>
struct Getter<R (C::*)()> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct Getter<R (C::*)() noexcept> : Getter<R (C::*)()> {};

template <class F>
struct Setter;
template <class C, class A>
struct Setter<void (C::*)(A)> {
  using Class = C;
  using Arg = std::remove_cvref_t<A>;
};
template <class C, class A>
struct Setter<void (C::*)(A) noexcept> : Setter<void (C::*)(A)> {};

template <class X>
struct SetTraits : std::false_type {};
template <class E>
struct SetTraits<Set<E>> : std::true_type {
  using Element = E;
};

template <class X>
struct IsFunction : std::false_type {};
template <class Sig>
struct IsFunction<std::function<Sig>> : std::true_type {};

template <class>
inline constexpr bool kUnsupported = false;

}  // namespace publish_detail

template <class T>
class ClassBuilder {
 public:
  using Class = T;
  explicit ClassBuilder(TClassInfo& info) : info_(info) {}

  // A property without a declared default.
  template <class G, class S = std::nullptr_t>
  PropInfo& Property(std::string name, G getter, S setter = nullptr) {
    auto prop = Make(std::move(name), getter, setter);
    if (prop->IsOrdinal()) prop->stored = StoredRule::Always;
    return info_.AddProperty(std::move(prop));
  }

  // A property with a declared default: stored only when the value differs from it.
  template <class G, class S, class D>
  PropInfo& Property(std::string name, G getter, S setter, D default_value) {
    auto prop = Make(std::move(name), getter, setter);
    using V = typename publish_detail::Getter<G>::Value;
    prop->has_default = true;
    if constexpr (publish_detail::SetTraits<V>::value) {
      prop->default_ordinal = static_cast<int64_t>(V(default_value).ToBits());
    } else if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, char> || std::is_enum_v<V> ||
                         std::is_integral_v<V>) {
      prop->default_ordinal = static_cast<int64_t>(static_cast<V>(default_value));
    } else if constexpr (std::is_floating_point_v<V>) {
      prop->default_float = static_cast<double>(default_value);
    } else if constexpr (std::is_same_v<V, std::string>) {
      prop->default_string = std::string(default_value);
    } else {
      static_assert(publish_detail::kUnsupported<V>, "only values have defaults");
    }
    return info_.AddProperty(std::move(prop));
  }

  // A TColor property (stored by colour name when it has one).
  template <class G, class S, class... D>
  PropInfo& ColorProperty(std::string name, G getter, S setter, D... default_value) {
    static_assert(std::is_same_v<typename publish_detail::Getter<G>::Value, int32_t>, "TColor is int32_t");
    PropInfo& p = Property(std::move(name), getter, setter, default_value...);
    p.kind = PropKind::Color;
    p.min_value = std::numeric_limits<int32_t>::min();
    p.max_value = std::numeric_limits<uint32_t>::max();  // $80000005 reads as a system colour
    return p;
  }

  // A TDateTime property.
  template <class G, class S, class... D>
  PropInfo& DateTimeProperty(std::string name, G getter, S setter, D... default_value) {
    static_assert(std::is_same_v<typename publish_detail::Getter<G>::Value, double>, "TDateTime is double");
    PropInfo& p = Property(std::move(name), getter, setter, default_value...);
    p.kind = PropKind::DateTime;
    return p;
  }

  // An event: a public std::function member.
  template <class C, class E>
  PropInfo& Event(std::string name, E C::*member) {
    static_assert(std::is_base_of_v<C, T>, "the event belongs to another class");
    static_assert(publish_detail::IsFunction<E>::value, "events are std::function members");
    auto p = std::make_unique<PropInfo>();
    p->name = std::move(name);
    p->kind = PropKind::Event;
    p->event_type = typeid(E);
    p->event_assigned = [member](const TObject* o) { return static_cast<bool>(Self<C>(o)->*member); };
    p->set_event = [member](TObject* o, const std::any& handler) {
      if (handler.has_value()) {
        Self<C>(o)->*member = std::any_cast<E>(handler);
      } else {
        Self<C>(o)->*member = nullptr;
      }
    };
    return info_.AddProperty(std::move(p));
  }

  // A handler method that stored forms may name for events of a matching type.
  template <class C, class R, class... A>
  void Method(std::string name, R (C::*method)(A...)) {
    static_assert(std::is_base_of_v<C, T>, "the method belongs to another class");
    using Fn = std::function<R(A...)>;
    MethodInfo m;
    m.name = std::move(name);
    m.signature = typeid(Fn);
    m.bind = [method](TObject* instance) -> std::any {
      C* self = Self<C>(instance);
      return Fn([self, method](A... args) -> R { return (self->*method)(std::forward<A>(args)...); });
    };
    info_.AddMethod(std::move(m));
  }

  // A member pointer that receives the component of the same name when the form is read.
  template <class C, class U>
  void Field(std::string name, U* C::*member) {
    static_assert(std::is_base_of_v<C, T>, "the field belongs to another class");
    static_assert(std::is_base_of_v<TComponent, U>, "fields hold components");
    FieldInfo f;
    f.name = std::move(name);
    f.field_class = &U::StaticClass;
    f.set = [member](TObject* instance, TComponent* component) {
      U* typed = dynamic_cast<U*>(component);
      if (component && !typed) {
        throw EInvalidCast(std::string("Component ") + component->Name() + " is a " + component->ClassName() +
                           ", not a " + U::StaticClass()->Name());
      }
      Self<C>(instance)->*member = typed;
    };
    info_.AddField(std::move(f));
  }

 private:
  template <class C>
  static C* Self(const TObject* o) {
    return static_cast<C*>(static_cast<T*>(const_cast<TObject*>(o)));
  }

  template <class G, class S>
  std::unique_ptr<PropInfo> Make(std::string name, G getter, S setter) {
    using GT = publish_detail::Getter<G>;
    using C = typename GT::Class;
    using V = typename GT::Value;
    static_assert(std::is_base_of_v<C, T>, "the getter belongs to another class");
    auto p = std::make_unique<PropInfo>();
    p->name = std::move(name);
    auto get = [getter](const TObject* o) -> V { return (Self<C>(o)->*getter)(); };

    constexpr bool kHasSetter = !std::is_same_v<S, std::nullptr_t>;
    auto set = [setter](TObject* o, V value) {
      if constexpr (kHasSetter) {
        using ST = publish_detail::Setter<S>;
        using SC = typename ST::Class;
        static_assert(std::is_base_of_v<SC, T>, "the setter belongs to another class");
        (Self<SC>(o)->*setter)(static_cast<typename ST::Arg>(value));
      } else {
        (void)o;
        (void)value;
      }
    };

    if constexpr (std::is_same_v<V, bool>) {
      p->kind = PropKind::Boolean;
      p->max_value = 1;
      p->get_ordinal = [get](const TObject* o) -> int64_t { return get(o) ? 1 : 0; };
      if constexpr (kHasSetter) p->set_ordinal = [set](TObject* o, int64_t v) { set(o, v != 0); };
    } else if constexpr (std::is_same_v<V, char>) {
      p->kind = PropKind::Char;
      p->max_value = 255;
      p->get_ordinal = [get](const TObject* o) -> int64_t { return static_cast<unsigned char>(get(o)); };
      if constexpr (kHasSetter) p->set_ordinal = [set](TObject* o, int64_t v) { set(o, static_cast<char>(v)); };
    } else if constexpr (std::is_enum_v<V>) {
      static_assert(NamedEnum<V>, "give the enumeration names with HOST_ENUM or HOST_ENUM_INFO");
      p->kind = PropKind::Enum;
      p->enum_type = &EnumTypeOf(V{});
      p->max_value = p->enum_type->Count() - 1;
      p->get_ordinal = [get](const TObject* o) -> int64_t { return static_cast<int64_t>(get(o)); };
      if constexpr (kHasSetter) p->set_ordinal = [set](TObject* o, int64_t v) { set(o, static_cast<V>(v)); };
    } else if constexpr (publish_detail::SetTraits<V>::value) {
      using E = typename publish_detail::SetTraits<V>::Element;
      static_assert(NamedEnum<E>, "give the set's enumeration names with HOST_ENUM or HOST_ENUM_INFO");
      p->kind = PropKind::Set;
      p->enum_type = &EnumTypeOf(E{});
      p->get_ordinal = [get](const TObject* o) -> int64_t { return static_cast<int64_t>(get(o).ToBits()); };
      if constexpr (kHasSetter) {
        p->set_ordinal = [set](TObject* o, int64_t v) { set(o, V::FromBits(static_cast<typename V::Bits>(v))); };
      }
    } else if constexpr (std::is_integral_v<V>) {
      static_assert(sizeof(V) <= 4 || std::is_signed_v<V>, "whole numbers up to 32 bits or signed 64");
      p->kind = PropKind::Integer;
      p->min_value = static_cast<int64_t>(std::numeric_limits<V>::min());
      p->max_value = static_cast<int64_t>(std::numeric_limits<V>::max());
      p->get_ordinal = [get](const TObject* o) -> int64_t { return static_cast<int64_t>(get(o)); };
      if constexpr (kHasSetter) p->set_ordinal = [set](TObject* o, int64_t v) { set(o, static_cast<V>(v)); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p->kind = PropKind::Float;
      p->get_float = [get](const TObject* o) -> double { return static_cast<double>(get(o)); };
      if constexpr (kHasSetter) p->set_float = [set](TObject* o, double v) { set(o, static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p->kind = PropKind::String;
      p->get_string = [get](const TObject* o) -> std::string { return get(o); };
      if constexpr (kHasSetter) p->set_string = [set](TObject* o, const std::string& v) { set(o, v); };
    } else if constexpr (std::is_pointer_v<V>) {
      using U = std::remove_cv_t<std::remove_pointer_t<V>>;
      static_assert(std::is_base_of_v<TPersistent, U>, "object properties hold persistent objects");
      p->kind = std::is_base_of_v<TComponent, U> ? PropKind::Component : PropKind::Class;
      p->object_class = &U::StaticClass;
      p->get_object = [get](const TObject* o) -> TObject* { return const_cast<U*>(get(o)); };
      if constexpr (kHasSetter) {
        p->set_object = [set](TObject* o, TObject* v) {
          U* typed = dynamic_cast<U*>(v);
          if (v && !typed) throw EInvalidCast(std::string("A ") + v->ClassName() + " is not a " + U::StaticClass()->Name());
          set(o, typed);
        };
      }
    } else {
      static_assert(publish_detail::kUnsupported<V>, "this type cannot be published");
    }
    return p;
  }

  TClassInfo& info_;
};

template <class T, class Parent>
void InitClassInfo(TClassInfo& info) {
  static_assert(std::is_base_of_v<Parent, T>, "the parent class must be a base class");
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>) {
    info.SetFactory([](TComponent* owner) -> TComponent* { return New<T>(owner); });
  }
  ClassBuilder<T> builder(info);
  T::PublishProperties(builder);
}

}  // namespace host

#define HOST_CLASS_INFO_(Name, Parent)                                                         \
  ::host::TClass Name::StaticClass() {                                                         \
    static const ::host::TClassInfo info(#Name, Parent::StaticClass(), &::host::InitClassInfo<Name, Parent>); \
    return &info;                                                                              \
  }

// Class information for a class that publishes nothing of its own.
#define HOST_DEFINE_CLASS(Name, Parent) \
  HOST_CLASS_INFO_(Name, Parent)        \
  void Name::PublishProperties(::host::ClassBuilder<Name>&) {}

// Class information followed by the body that publishes the class's members through `c`.
#define HOST_PUBLISHED(Name, Parent) \
  HOST_CLASS_INFO_(Name, Parent)     \
  void Name::PublishProperties([[maybe_unused]] ::host::ClassBuilder<Name>& c)

#define HOST_SELF_ std::remove_reference_t<decltype(c)>::Class
// Inside HOST_PUBLISHED: property Foo through Foo()/SetFoo(), with an optional default.
#define HOST_PROP(Name, ...) \
  c.Property(#Name, &HOST_SELF_::Name, &HOST_SELF_::Set##Name __VA_OPT__(, ) __VA_ARGS__)
// A read-only sub-object property (Font, Lines) reached through Foo() alone.
#define HOST_OBJECT_PROP(Name) c.Property(#Name, &HOST_SELF_::Name)
#define HOST_COLOR_PROP(Name, ...) \
  c.ColorProperty(#Name, &HOST_SELF_::Name, &HOST_SELF_::Set##Name __VA_OPT__(, ) __VA_ARGS__)
#define HOST_DATETIME_PROP(Name, ...) \
  c.DateTimeProperty(#Name, &HOST_SELF_::Name, &HOST_SELF_::Set##Name __VA_OPT__(, ) __VA_ARGS__)
#define HOST_EVENT(Name) c.Event(#Name, &HOST_SELF_::Name)
#define HOST_METHOD(Name) c.Method(#Name, &HOST_SELF_::Name)
#define HOST_FIELD(Name) c.Field(#Name, &HOST_SELF_::Name)
